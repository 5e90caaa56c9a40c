// The display device on Windows: DirectDraw's first interface. The wrappers own nothing beyond
// the interface pointers; a device frees the wrappers of the surfaces it still holds when it is
// released, as DirectDraw frees the surfaces themselves.
#include <windows.h>
// windows.h first: ddraw.h needs its types.
#include <ddraw.h>

#include <new>
#include <vector>

#include "platform/display_device.h"

namespace vext::platform {

namespace {

class Win32Device;

class Win32Surface final : public DisplaySurface {
  public:
    Win32Surface(Win32Device* device, IDirectDrawSurface* surface)
        : device_(device), surface_(surface) {}

    int32_t attachedBackBuffer(DisplaySurface** backBuffer) override;

    int32_t copy(const Rect& destination, DisplaySurface* source, const Rect& sourceRect,
                 bool keyed) override {
        auto* from = static_cast<Win32Surface*>(source);
        if (from == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        RECT to{destination.left, destination.top, destination.right, destination.bottom};
        RECT fromRect{sourceRect.left, sourceRect.top, sourceRect.right, sourceRect.bottom};
        return surface_->Blt(&to, from->surface_, &fromRect,
                             DDBLT_WAIT | (keyed ? DDBLT_KEYSRC : 0), nullptr);
    }

    int32_t fill(const Rect& destination, uint32_t colour) override {
        RECT to{destination.left, destination.top, destination.right, destination.bottom};
        DDBLTFX fx;
        ZeroMemory(&fx, sizeof fx);
        fx.dwSize = sizeof fx;
        fx.dwFillColor = colour;
        return surface_->Blt(&to, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    int32_t setSourceColourKey(uint32_t key) override {
        DDCOLORKEY colourKey;
        colourKey.dwColorSpaceLowValue = key;
        colourKey.dwColorSpaceHighValue = key;
        return surface_->SetColorKey(DDCKEY_SRCBLT, &colourKey);
    }

    int32_t flip() override { return surface_->Flip(nullptr, DDFLIP_WAIT); }

    int32_t restore() override { return surface_->Restore(); }

    int32_t drawBitmap(ModuleHandle module, int resourceId, int x, int y, int* width,
                       int* height) override {
        HDC surfaceDc = nullptr;
        const HRESULT got = surface_->GetDC(&surfaceDc);
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = LoadBitmapA(static_cast<HINSTANCE>(const_cast<void*>(module)),
                                     MAKEINTRESOURCEA(resourceId));
        BITMAP info;
        ZeroMemory(&info, sizeof info);
        if (bitmap != nullptr) {
            GetObjectA(bitmap, sizeof info, &info);
        }
        if (width != nullptr) {
            *width = info.bmWidth;
        }
        if (height != nullptr) {
            *height = info.bmHeight;
        }
        int32_t result = DDERR_GENERIC;
        if (bitmap != nullptr && memory != nullptr && SUCCEEDED(got)) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            result = BitBlt(surfaceDc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY)
                         ? DD_OK
                         : DDERR_GENERIC;
            SelectObject(memory, old);
        }
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (memory != nullptr) {
            DeleteDC(memory);
        }
        if (SUCCEEDED(got)) {
            surface_->ReleaseDC(surfaceDc);
        }
        return result;
    }

    void release() override;

    Win32Device* device_;
    IDirectDrawSurface* surface_;
    Win32Surface* backBuffer_ = nullptr;
};

class Win32Device final : public DisplayDevice {
  public:
    explicit Win32Device(IDirectDraw* directDraw) : directDraw_(directDraw) {}

    int32_t setCooperativeLevel(WindowHandle window, uint32_t flags) override {
        return directDraw_->SetCooperativeLevel(static_cast<HWND>(window), flags);
    }

    int32_t setDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) override {
        return directDraw_->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                           static_cast<DWORD>(bitsPerPixel));
    }

    int32_t createPrimary(int32_t backBufferCount, DisplaySurface** surface) override {
        DDSURFACEDESC desc;
        ZeroMemory(&desc, sizeof desc);
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = static_cast<DWORD>(backBufferCount);
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        return create(desc, surface);
    }

    int32_t createOffscreen(int32_t width, int32_t height, DisplaySurface** surface) override {
        DDSURFACEDESC desc;
        ZeroMemory(&desc, sizeof desc);
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        desc.dwHeight = static_cast<DWORD>(height);
        desc.dwWidth = static_cast<DWORD>(width);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        return create(desc, surface);
    }

    void release() override {
        directDraw_->Release();  // frees the surfaces and gives back the earlier mode
        for (Win32Surface* s : surfaces_) {
            delete s;
        }
        delete this;
    }

    Win32Surface* wrap(IDirectDrawSurface* surface) {
        auto* wrapper = new (std::nothrow) Win32Surface(this, surface);
        if (wrapper != nullptr) {
            surfaces_.push_back(wrapper);
        }
        return wrapper;
    }

    void forget(Win32Surface* surface) {
        for (auto it = surfaces_.begin(); it != surfaces_.end(); ++it) {
            if (*it == surface) {
                surfaces_.erase(it);
                return;
            }
        }
    }

  private:
    int32_t create(DDSURFACEDESC& desc, DisplaySurface** surface) {
        if (surface == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        *surface = nullptr;
        IDirectDrawSurface* created = nullptr;
        const HRESULT result = directDraw_->CreateSurface(&desc, &created, nullptr);
        if (FAILED(result)) {
            return result;
        }
        Win32Surface* wrapper = wrap(created);
        if (wrapper == nullptr) {
            created->Release();
            return DDERR_OUTOFMEMORY;
        }
        *surface = wrapper;
        return result;
    }

    IDirectDraw* directDraw_;
    std::vector<Win32Surface*> surfaces_;
};

int32_t Win32Surface::attachedBackBuffer(DisplaySurface** backBuffer) {
    if (backBuffer == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *backBuffer = nullptr;
    DDSCAPS caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface* attached = nullptr;
    const HRESULT result = surface_->GetAttachedSurface(&caps, &attached);
    if (FAILED(result)) {
        return result;
    }
    backBuffer_ = device_->wrap(attached);
    *backBuffer = backBuffer_;
    return backBuffer_ != nullptr ? result : DDERR_OUTOFMEMORY;
}

void Win32Surface::release() {
    surface_->Release();
    Win32Device* device = device_;
    if (backBuffer_ != nullptr) {
        device->forget(backBuffer_);  // goes with its chain
        delete backBuffer_;
    }
    device->forget(this);
    delete this;
}

struct Enumeration {
    DisplayEnumCallback callback;
    void* context;
};

BOOL WINAPI enumerationTrampoline(GUID* deviceId, LPSTR description, LPSTR driverName,
                                  LPVOID context) {
    const auto* e = static_cast<const Enumeration*>(context);
    return e->callback(deviceId, description, driverName, e->context);
}

}  // namespace

int32_t createDisplayDevice(void* deviceId, DisplayDevice** device) {
    if (device == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *device = nullptr;
    IDirectDraw* directDraw = nullptr;
    const HRESULT result = DirectDrawCreate(static_cast<GUID*>(deviceId), &directDraw, nullptr);
    if (FAILED(result) || directDraw == nullptr) {
        return FAILED(result) ? result : DDERR_GENERIC;
    }
    auto* wrapper = new (std::nothrow) Win32Device(directDraw);
    if (wrapper == nullptr) {
        directDraw->Release();
        return DDERR_OUTOFMEMORY;
    }
    *device = wrapper;
    return result;
}

bool bitmapSize(ModuleHandle module, int resourceId, int* width, int* height) {
    HBITMAP bitmap = LoadBitmapA(static_cast<HINSTANCE>(const_cast<void*>(module)),
                                 MAKEINTRESOURCEA(resourceId));
    if (bitmap == nullptr) {
        return false;
    }
    BITMAP info;
    ZeroMemory(&info, sizeof info);
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    *width = info.bmWidth;
    *height = info.bmHeight;
    return true;
}

int32_t enumerateDisplayDevices(DisplayEnumCallback callback, void* context) {
    if (callback == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    Enumeration e{callback, context};
    return DirectDrawEnumerateA(enumerationTrampoline, &e);
}

}  // namespace vext::platform
