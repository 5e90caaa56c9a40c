// The test mode's display device: the board's display driver, found by its driver name, in
// exclusive full-screen mode, with a flipping pair and two off-screen surfaces.
#pragma once

#include <cstdint>

#include "platform/display_device.h"

namespace vext {

// Every colour of the test mode: 16-bit RGB in 5-6-5.
constexpr uint32_t kRed565 = 0xF800;
constexpr uint32_t kBlue565 = 0x001F;
constexpr uint32_t kWhite565 = 0xFFFF;

class TVOutTestDisplay {
  public:
    TVOutTestDisplay();

    // Finds the board's device through enumerationCallback, takes it in exclusive full-screen
    // mode at width x height x depth and creates the four surfaces. 0 on failure, with what was
    // made left for Close.
    int32_t Open(platform::WindowHandle window, platform::DisplayEnumCallback enumerationCallback,
                 int32_t width, int32_t height, int32_t depth);
    // Releases everything; the board gets its earlier mode back. Always 1.
    int32_t Close();
    // Restores the surfaces after a loss; they hold no picture afterwards. Always 1.
    int32_t RestoreSurfaces();

    platform::DisplayDevice* directDraw;
    // Created on the primary display driver and held while the device is open.
    platform::DisplayDevice* primaryDirectDraw;
    platform::DisplaySurface* primary;     // flipping chain with one back buffer
    platform::DisplaySurface* backBuffer;  // where each frame is composed
    platform::DisplaySurface* background;  // the test picture
    platform::DisplaySurface* sprites;     // the sprite sheet
    int32_t width;
    int32_t height;
    int32_t depth;
};

// The driver name that FindBoardDevice looks for.
extern const char* searchedDriverName;

// Enumeration callback: creates the device of the first driver named searchedDriverName (exactly,
// case-sensitively) into *context, a platform::DisplayDevice**, and stops the enumeration.
int FindBoardDevice(void* deviceId, char* description, char* driverName, void* context);

}  // namespace vext
