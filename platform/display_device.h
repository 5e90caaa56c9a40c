// The test mode's display device: a DirectDraw-like object on one display driver, with a flipping
// primary chain and off-screen surfaces.
//
// Win32 wraps DirectDraw's first interface (IDirectDraw, IDirectDrawSurface). The simulation has
// software surfaces in 16-bit 5-6-5, a device list read from the simulation root, modes a device
// refuses, surface loss on demand, and flips that can be saved as PNG frames
// (platform/sim/sim_display.h).
#pragma once

#include <cstdint>

#include "platform/dialog.h"
#include "platform/module.h"

namespace vext::platform {

// Results, numbered as DirectDraw numbers them: negative means failure.
constexpr int32_t kDisplayOk = 0;
constexpr int32_t kDisplaySurfaceLost = static_cast<int32_t>(0x887601C2);
constexpr int32_t kDisplayInvalidMode = static_cast<int32_t>(0x8876005A);
constexpr int32_t kDisplayFailed = static_cast<int32_t>(0x80004005);

// Cooperative level flags.
constexpr uint32_t kDisplayExclusive = 0x10;
constexpr uint32_t kDisplayFullScreen = 0x01;

// Return values of an enumeration callback.
constexpr int kEnumerationCancel = 0;
constexpr int kEnumerationContinue = 1;

// One surface of a device. Every blit and the flip wait while the hardware is busy.
class DisplaySurface {
  public:
    // The back buffer of a flipping chain.
    virtual int32_t attachedBackBuffer(DisplaySurface** backBuffer) = 0;
    // Copies source's sourceRect to destination at the same size; keyed skips the source pixels
    // equal to the source's colour key.
    virtual int32_t copy(const Rect& destination, DisplaySurface* source, const Rect& sourceRect,
                         bool keyed) = 0;
    virtual int32_t fill(const Rect& destination, uint32_t colour) = 0;
    // The source colour key for keyed copies from this surface (low and high value alike).
    virtual int32_t setSourceColourKey(uint32_t key) = 0;
    // Shows the back buffer; kDisplaySurfaceLost when the surfaces were lost.
    virtual int32_t flip() = 0;
    virtual int32_t restore() = 0;
    // Draws bitmap resourceId of module at (x, y) at its own size, through a device context of
    // the surface and a memory context; the bitmap's size comes back in width and height.
    virtual int32_t drawBitmap(ModuleHandle module, int resourceId, int x, int y, int* width,
                               int* height) = 0;
    virtual void release() = 0;

  protected:
    ~DisplaySurface() = default;
};

// A display driver's object. Its surfaces belong to it: releasing it frees the surfaces still
// held and gives the display back the mode it had before.
class DisplayDevice {
  public:
    virtual int32_t setCooperativeLevel(WindowHandle window, uint32_t flags) = 0;
    virtual int32_t setDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) = 0;
    // A primary surface that flips with backBufferCount back buffers, in the mode's format.
    virtual int32_t createPrimary(int32_t backBufferCount, DisplaySurface** surface) = 0;
    // An off-screen plain surface in the mode's format.
    virtual int32_t createOffscreen(int32_t width, int32_t height, DisplaySurface** surface) = 0;
    virtual void release() = 0;

  protected:
    ~DisplayDevice() = default;
};

// Called once per display driver with its identifier, description and driver name; returns
// kEnumerationCancel to stop the enumeration.
using DisplayEnumCallback = int (*)(void* deviceId, char* description, char* driverName,
                                    void* context);

// The object of a driver (null: the primary display driver) into *device, null on failure.
int32_t createDisplayDevice(void* deviceId, DisplayDevice** device);
int32_t enumerateDisplayDevices(DisplayEnumCallback callback, void* context);

// The size of bitmap resourceId of module; false when it has none of that number.
bool bitmapSize(ModuleHandle module, int resourceId, int* width, int* height);

}  // namespace vext::platform
