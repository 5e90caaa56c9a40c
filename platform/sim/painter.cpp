// Painting on the simulation: each call is recorded on the dialog model and drawn onto its
// canvas with the colours and patterns of the classic Windows look.
#include "platform/painter.h"

#include <png.h>

#include <algorithm>
#include <cstdio>

#include "platform/sim/sim_dialog.h"

namespace vext::platform {

struct Painter::Impl {
    sim::SimDialog* dialog = nullptr;
    PenKind pen = PenKind::Black;
    BrushKind brush = BrushKind::ButtonFace;
    bool transparent = false;
};

namespace {

struct Rgb {
    uint8_t r, g, b;
};

Rgb brushColour(BrushKind brush) {
    switch (brush) {
        case BrushKind::Gray:
            return {128, 128, 128};
        case BrushKind::LightGray:
            return {192, 192, 192};
        case BrushKind::Hatched:
            return {0, 0, 0};
        case BrushKind::ButtonFace:
        default:
            return {192, 192, 192};  // the classic look's button face
    }
}

void put(std::vector<uint8_t>& canvas, int width, int height, int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    size_t at = (static_cast<size_t>(y) * width + x) * 3;
    canvas[at] = c.r;
    canvas[at + 1] = c.g;
    canvas[at + 2] = c.b;
}

// Inside a rectangle [left, right) x [top, bottom) whose corners are quarter ellipses of the
// given size.
bool inside(const sim::PaintCall& call, int x, int y) {
    const Rect& r = call.rect;
    if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
        return false;
    }
    const double rx = call.ellipseWidth / 2.0;
    const double ry = call.ellipseHeight / 2.0;
    if (rx <= 0 || ry <= 0) {
        return true;
    }
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double cx = std::clamp(px, r.left + rx, r.right - rx);
    const double cy = std::clamp(py, r.top + ry, r.bottom - ry);
    const double dx = (px - cx) / rx;
    const double dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

void draw(sim::SimDialog& dialog, const sim::PaintCall& call) {
    std::vector<uint8_t>& canvas = dialog.canvasPixels();
    const int w = dialog.width();
    const int h = dialog.height();
    const Rect& r = call.rect;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (!inside(call, x, y)) {
                continue;
            }
            const bool edge = !inside(call, x - 1, y) || !inside(call, x + 1, y) ||
                              !inside(call, x, y - 1) || !inside(call, x, y + 1);
            if (edge && call.pen != PenKind::Null) {
                // PS_DOT: one pixel on, one off along the outline.
                if (call.pen == PenKind::Black || (x + y) % 2 == 0) {
                    put(canvas, w, h, x, y, {0, 0, 0});
                } else if (!call.transparentBackground) {
                    put(canvas, w, h, x, y, {255, 255, 255});
                }
                continue;
            }
            if (call.brush == BrushKind::Hatched) {
                // HS_BDIAGONAL: lines rising to the right every 8 pixels.
                if ((x + y) % 8 == 0) {
                    put(canvas, w, h, x, y, {0, 0, 0});
                } else if (!call.transparentBackground) {
                    put(canvas, w, h, x, y, {255, 255, 255});
                }
            } else {
                put(canvas, w, h, x, y, brushColour(call.brush));
            }
        }
    }
}

}  // namespace

Painter::Painter(WindowHandle window) : impl_(std::make_unique<Impl>()) {
    impl_->dialog = sim::simDialog(window);
    if (impl_->dialog != nullptr) {
        impl_->dialog->beginPaint();
    }
}

Painter::~Painter() = default;

void Painter::usePen(PenKind pen) {
    impl_->pen = pen;
}
void Painter::useBrush(BrushKind brush) {
    impl_->brush = brush;
}
void Painter::setTransparentBackground() {
    impl_->transparent = true;
}

void Painter::rectangle(int left, int top, int right, int bottom) {
    roundRect(left, top, right, bottom, 0, 0);
}

void Painter::roundRect(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    if (impl_->dialog == nullptr) {
        return;
    }
    sim::PaintCall call{ellipseWidth == 0 && ellipseHeight == 0 ? sim::PaintCall::Shape::Rectangle
                                                                : sim::PaintCall::Shape::RoundRect,
                        impl_->pen,
                        impl_->brush,
                        impl_->transparent,
                        {left, top, right, bottom},
                        ellipseWidth,
                        ellipseHeight};
    impl_->dialog->record(call);
    draw(*impl_->dialog, call);
}

}  // namespace vext::platform

namespace vext::sim {

namespace {

// The controls as plain shapes over the painted canvas: enough to see the dialog's state.
std::vector<uint8_t> sketch(const SimDialog& dialog) {
    std::vector<uint8_t> image = dialog.canvas();
    const int w = dialog.width();
    const int h = dialog.height();
    auto put = [&](int x, int y, uint8_t v) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            size_t at = (static_cast<size_t>(y) * w + x) * 3;
            image[at] = image[at + 1] = image[at + 2] = v;
        }
    };
    auto frame = [&](const platform::Rect& r, uint8_t v) {
        for (int x = r.left; x < r.right; ++x) {
            put(x, r.top, v);
            put(x, r.bottom - 1, v);
        }
        for (int y = r.top; y < r.bottom; ++y) {
            put(r.left, y, v);
            put(r.right - 1, y, v);
        }
    };
    auto fill = [&](const platform::Rect& r, uint8_t v) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                put(x, y, v);
            }
        }
    };
    for (const auto& c : dialog.controls()) {
        if (!c->visible) {
            continue;
        }
        const platform::Rect& r = c->rect;
        const uint8_t ink = c->enabled ? 0 : 128;
        if (c->isTrackbar()) {
            const int span = std::max(1, c->rangeMax - c->rangeMin);
            const int at = c->position - c->rangeMin;
            if (c->isVerticalTrackbar()) {
                const int x = (r.left + r.right) / 2;
                for (int y = r.top + 4; y < r.bottom - 4; ++y) {
                    put(x, y, ink);
                }
                const int y = r.top + 4 + at * (r.bottom - r.top - 8) / span;
                fill({x - 4, y - 2, x + 5, y + 3}, ink);
            } else {
                const int y = (r.top + r.bottom) / 2;
                for (int x = r.left + 4; x < r.right - 4; ++x) {
                    put(x, y, ink);
                }
                const int x = r.left + 4 + at * (r.right - r.left - 8) / span;
                fill({x - 2, y - 4, x + 3, y + 5}, ink);
            }
        } else if (c->isButton()) {
            const uint32_t type = c->buttonType();
            if (type == platform::style::kBsAutoCheckBox ||
                type == platform::style::kBsAutoRadioButton) {
                const int y = (r.top + r.bottom) / 2;
                platform::Rect box{r.left, y - 5, r.left + 11, y + 6};
                frame(box, ink);
                if (c->checkState == platform::kButtonChecked) {
                    fill({box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, ink);
                }
            } else {
                frame(r, ink);
            }
        } else if (c->iconId != 0 || (c->style & platform::style::kSsSunken) != 0) {
            frame(r, ink);
        }
    }
    return image;
}

}  // namespace

namespace {

// libpng reports errors by longjmp, so nothing here changes after the setjmp.
bool encodePng(png_structp png, png_infop info, FILE* file, const uint8_t* pixels, int width,
               int height) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, pixels + static_cast<size_t>(y) * width * 3);
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

bool SimDialog::writePng(const std::string& path) const {
    const std::vector<uint8_t> image = sketch(*this);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool ok = info != nullptr && encodePng(png, info, file, image.data(), width_, height_);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

}  // namespace vext::sim
