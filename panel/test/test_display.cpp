#include "panel/test/test_display.h"

#include <cstring>

namespace vext {

namespace p = platform;

const char* searchedDriverName = nullptr;

TVOutTestDisplay::TVOutTestDisplay()
    : directDraw(nullptr),
      // Null from the start too, so that a Close without an Open releases nothing.
      primaryDirectDraw(nullptr),
      primary(nullptr),
      backBuffer(nullptr),
      background(nullptr),
      sprites(nullptr),
      width(0),
      height(0),
      depth(0) {}

int32_t TVOutTestDisplay::Open(p::WindowHandle window, p::DisplayEnumCallback enumerationCallback,
                               int32_t width_, int32_t height_, int32_t depth_) {
    width = width_;
    height = height_;
    depth = depth_;
    primaryDirectDraw = nullptr;
    p::createDisplayDevice(nullptr, &primaryDirectDraw);
    directDraw = nullptr;
    p::enumerateDisplayDevices(enumerationCallback, &directDraw);
    if (directDraw == nullptr) {
        return 0;
    }
    directDraw->setCooperativeLevel(window, p::kDisplayExclusive | p::kDisplayFullScreen);
    if (directDraw->setDisplayMode(width, height, depth) < 0) {
        return 0;
    }
    if (directDraw->createPrimary(1, &primary) < 0) {
        return 0;
    }
    if (primary->attachedBackBuffer(&backBuffer) < 0) {
        return 0;
    }
    if (directDraw->createOffscreen(width, height, &background) < 0) {
        return 0;
    }
    return directDraw->createOffscreen(width, height, &sprites) < 0 ? 0 : 1;
}

int32_t TVOutTestDisplay::Close() {
    if (directDraw != nullptr) {
        if (primary != nullptr) {
            primary->release();
            primary = nullptr;
            backBuffer = nullptr;
        }
        directDraw->release();
        directDraw = nullptr;
        background = nullptr;
        sprites = nullptr;
    }
    if (primaryDirectDraw != nullptr) {
        primaryDirectDraw->release();
        primaryDirectDraw = nullptr;
    }
    return 1;
}

int32_t TVOutTestDisplay::RestoreSurfaces() {
    // The back buffer comes back with its chain.
    if (primary != nullptr) {
        primary->restore();
    }
    if (background != nullptr) {
        background->restore();
    }
    if (sprites != nullptr) {
        sprites->restore();
    }
    return 1;
}

int FindBoardDevice(void* deviceId, char*, char* driverName, void* context) {
    if (driverName == nullptr || searchedDriverName == nullptr || context == nullptr ||
        std::strcmp(driverName, searchedDriverName) != 0) {
        return p::kEnumerationContinue;
    }
    p::createDisplayDevice(deviceId, static_cast<p::DisplayDevice**>(context));
    return p::kEnumerationCancel;
}

}  // namespace vext
