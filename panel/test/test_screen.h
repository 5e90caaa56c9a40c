// The test screen: the test picture in background, the menu images on the sprite sheet, and the
// menu objects of a test run laid out for the screen's size.
#pragma once

#include <cstdint>

#include "panel/test/menu_items.h"
#include "panel/test/test_display.h"
#include "panel/tvout_panel.h"

namespace vext {

// Paints both surfaces; with redrawOnly 0 it also creates the menu items, the grid and the
// arrows into the test run's state. Always 1.
int32_t BuildTestScreen(TVOutTestDisplay* display, const TVOutPanel* panel, int32_t redrawOnly);
// The quarter wheel, the grey ramp, the six colour ramps and the logo.
void DrawTestPattern(TVOutTestDisplay* display, TVOutSurface* surface);
// A hue from 0 to 251 at a level (128 pure, 0 black for the corners, 256 white) in 5-6-5.
uint16_t PatternColor(int32_t hue, int32_t level);

// Where the images lie on the sprite sheet.
constexpr int32_t kLabelRowHeight = 32;
constexpr int32_t kMenuColourKey = 31;

}  // namespace vext
