// Painting on Windows: GDI between BeginPaint and EndPaint.
#include "platform/painter.h"

#include <windows.h>

namespace vext::platform {

struct Painter::Impl {
    HWND window = nullptr;
    PAINTSTRUCT paint{};
    HDC dc = nullptr;
    HPEN dottedPen = nullptr;
    HBRUSH hatchedBrush = nullptr;
    HGDIOBJ originalPen = nullptr;
    HGDIOBJ originalBrush = nullptr;
};

Painter::Painter(WindowHandle window) : impl_(std::make_unique<Impl>()) {
    impl_->window = static_cast<HWND>(window);
    impl_->dottedPen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    impl_->hatchedBrush = CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0));
    impl_->dc = BeginPaint(impl_->window, &impl_->paint);
    if (impl_->dc != nullptr) {
        impl_->originalPen = GetCurrentObject(impl_->dc, OBJ_PEN);
        impl_->originalBrush = GetCurrentObject(impl_->dc, OBJ_BRUSH);
    }
}

Painter::~Painter() {
    if (impl_->dc != nullptr) {
        // Created objects may only be deleted once no device context holds them.
        SelectObject(impl_->dc, impl_->originalPen);
        SelectObject(impl_->dc, impl_->originalBrush);
        EndPaint(impl_->window, &impl_->paint);
    }
    if (impl_->dottedPen != nullptr) {
        DeleteObject(impl_->dottedPen);
    }
    if (impl_->hatchedBrush != nullptr) {
        DeleteObject(impl_->hatchedBrush);
    }
}

void Painter::usePen(PenKind pen) {
    if (impl_->dc == nullptr) {
        return;
    }
    HGDIOBJ object = nullptr;
    switch (pen) {
        case PenKind::Null:
            object = GetStockObject(NULL_PEN);
            break;
        case PenKind::Black:
            object = GetStockObject(BLACK_PEN);
            break;
        case PenKind::Dotted:
            object = impl_->dottedPen;
            break;
    }
    if (object != nullptr) {
        SelectObject(impl_->dc, object);
    }
}

void Painter::useBrush(BrushKind brush) {
    if (impl_->dc == nullptr) {
        return;
    }
    HGDIOBJ object = nullptr;
    switch (brush) {
        case BrushKind::ButtonFace:
            object = GetSysColorBrush(COLOR_BTNFACE);
            break;
        case BrushKind::Gray:
            object = GetStockObject(GRAY_BRUSH);
            break;
        case BrushKind::LightGray:
            object = GetStockObject(LTGRAY_BRUSH);
            break;
        case BrushKind::Hatched:
            object = impl_->hatchedBrush;
            break;
    }
    if (object != nullptr) {
        SelectObject(impl_->dc, object);
    }
}

void Painter::setTransparentBackground() {
    if (impl_->dc != nullptr) {
        SetBkMode(impl_->dc, TRANSPARENT);
    }
}

void Painter::rectangle(int left, int top, int right, int bottom) {
    if (impl_->dc != nullptr) {
        Rectangle(impl_->dc, left, top, right, bottom);
    }
}

void Painter::roundRect(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    if (impl_->dc != nullptr) {
        RoundRect(impl_->dc, left, top, right, bottom, ellipseWidth, ellipseHeight);
    }
}

}  // namespace vext::platform
