#include "panel/test/test_screen.h"

#include <cmath>
#include <cstdlib>

#include "panel/resources/test_bitmaps.h"
#include "panel/test/menu_items.h"
#include "panel/test/test_window.h"
#include "panel/tvout_dialog.h"

namespace vext {

namespace {

struct Rgb {
    int32_t r, g, b;
};

// The six corners of the hue circle: blue, cyan, green, yellow, red, magenta.
const Rgb kCorners[6] = {{0, 0, 255},   {0, 255, 255}, {0, 255, 0},
                         {255, 255, 0}, {255, 0, 0},   {255, 0, 255}};

int32_t clamp255(int32_t v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

void fillRect(TVOutSurface* surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
              uint32_t colour) {
    surface->fill({left, top, right, bottom}, colour);
}

// Label rows of bitmap 106.
constexpr int32_t kRowOn = 4;
constexpr int32_t kRowOff = 5;
constexpr int32_t kRowHint = 7;

}  // namespace

uint16_t PatternColor(int32_t hue, int32_t level) {
    // Hues outside 0 to 251 would index past the table: they wrap around the circle.
    int32_t k = hue / 42;
    const int32_t f = hue % 42;
    if (k < 0 || k > 5) {
        k = ((k % 6) + 6) % 6;
    }
    const int32_t next = k + 1 > 5 ? 0 : k + 1;
    const int32_t b = 2 * level - 256;
    const Rgb& c = kCorners[k];
    const Rgb& n = kCorners[next];
    const int32_t red = clamp255(c.r + f * ((n.r - c.r) / 42) + b);
    const int32_t green = clamp255(c.g + f * ((n.g - c.g) / 42) + b);
    const int32_t blue = clamp255(c.b + f * ((n.b - c.b) / 42) + b);
    return static_cast<uint16_t>((red / 8) << 11 | (green / 8) << 6 | blue / 8);
}

void DrawTestPattern(TVOutTestDisplay* display, TVOutSurface* surface) {
    const int32_t W = display->width;
    const int32_t H = display->height;

    // The quarter wheel around the bottom right corner.
    for (int32_t y = 0; y < H; y += 4) {
        const int32_t dy = H - y;
        int32_t dx = W / 2;
        for (int32_t x = W - W / 2; x < W; x += 4, dx -= 4) {
            const double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx));
            int32_t hue = static_cast<int32_t>(std::fabs(angle * 160.43291421295558));
            if (hue > 252) {
                hue -= 252;
            }
            const int32_t level = static_cast<int32_t>(
                std::sqrt(static_cast<double>(dx * dx + dy * dy)) * (256.0 / (W / 2)));
            fillRect(surface, x, y, x + 4, y + 4, PatternColor(hue, level));
        }
    }

    // The grey ramp on the left third.
    const int32_t s = W / 3;
    for (int32_t i = 0; i < 32; ++i) {
        fillRect(surface, i * s / 32, 0, (i * s + s) / 32, H,
                 static_cast<uint32_t>(i << 11 | i << 6 | i));
    }

    // Six colour ramps over it.
    const int32_t q = (2 * W / 3) / 64;
    const int32_t strip = H / 3 / 7;
    int32_t top = 2 * strip / 3;
    int32_t bottom = strip / 3 + 2 * strip / 3;
    for (int32_t j = 0; j < 6; ++j) {
        for (int32_t m = 0; m < 64; ++m) {
            fillRect(surface, m * q, top, m * q + q, bottom, PatternColor(42 * j, 4 * m));
        }
        top += strip;
        bottom += strip;
    }

    // The logo, one logo height below the top and half a logo width in from the right.
    const platform::ModuleHandle module = moduleState().moduleHandle;
    int lw = 0;
    int lh = 0;
    platform::bitmapSize(module, kLogoBitmapId, &lw, &lh);
    surface->drawBitmap(module, kLogoBitmapId, W - lw / 2 - lw, lh, &lw, &lh);
}

int32_t BuildTestScreen(TVOutTestDisplay* display, const TVOutPanel* panel, int32_t redrawOnly) {
    const int32_t W = display->width;
    const int32_t H = display->height;
    TVOutSurface* sheet = display->sprites;

    fillRect(display->background, 0, 0, W, H, 0x1FFFF);  // the surface takes the low 16 bits
    DrawTestPattern(display, display->background);

    const platform::ModuleHandle module = moduleState().moduleHandle;
    int w106 = 0, h106 = 0, w107 = 0, h107 = 0, w115 = 0, h115 = 0;
    sheet->drawBitmap(module, kLabelBitmapId, 0, 0, &w106, &h106);
    sheet->drawBitmap(module, kBarBitmapId, 0, h106, &w107, &h107);
    sheet->drawBitmap(module, kArrowBitmapId, 0, h106 + h107, &w115, &h115);

    if (redrawOnly == 1) {
        return 1;
    }

    TVOutTestState& test = testState();
    const int32_t u = H / 2 / 6;
    const int32_t t = H / 3;
    const int32_t k = kMenuColourKey;
    const int32_t row = kLabelRowHeight;

    test.menuItems[0] = new TVOutMenuItem(sheet, 0, 0 * row, 160, 32, k, 32, t, ItemSkipped, 0);
    test.menuItems[1] = new TVOutMenuItem(sheet, 0, 1 * row, 160, 32, k, 32, t, ItemVisible, 0);
    for (int i = 0; i < 2; ++i) {
        test.menuItems[i]->SetOnOffImages(sheet, 0, kRowOn * row, 45, 32, k, 160, 0, sheet, 0,
                                          kRowOff * row, 56, 32, k, 210, 0);
    }
    auto* contrast = new TVOutMenuBar(sheet, 0, 2 * row, 160, 32, k, 32, t + u, ItemVisible,
                                      panel->contrastLimits.minimum);
    contrast->SetBarImage(sheet, 0, h106, w107, h107, 160, 0, W / 4, panel->contrastLimits.minimum,
                          panel->contrastLimits.maximum, panel->contrastLimits.tickFrequency);
    test.menuItems[2] = contrast;
    auto* brightness = new TVOutMenuBar(sheet, 0, 3 * row, 160, 32, k, 32, t + 2 * u, ItemVisible,
                                        panel->brightnessLimits.minimum);
    brightness->SetBarImage(sheet, 0, h106, w107, h107, 160, 0, W / 4,
                            panel->brightnessLimits.minimum, panel->brightnessLimits.maximum,
                            panel->brightnessLimits.tickFrequency);
    test.menuItems[3] = brightness;
    auto* position =
        new TVOutMenuAction(sheet, 0, 6 * row, 160, 32, k, 32, t + 3 * u, ItemVisible, 0);
    position->SetHintImage(sheet, 0, kRowHint * row, 160, 32, 160, 0, 10);
    test.menuItems[4] = position;
    test.menuItems[5] =
        new TVOutMenuAction(sheet, 0, 8 * row, 160, 32, k, 32, t + 5 * u, ItemVisible, 0);

    test.positionGrid = new TVOutPositionGrid(display, 11, 11, 0);
    const int32_t aw = w115;
    const int32_t ah = h115;
    const int32_t top = h106 + h107;
    test.positionArrows[0] = new TVOutPositionArrow(sheet, 0, top, aw / 2, ah / 2, k,
                                                    W / 2 - aw / 4, H / 2 - 3 * ah / 4, 0, -100);
    test.positionArrows[1] = new TVOutPositionArrow(sheet, 0, top + ah / 2, aw / 2, ah / 2, k,
                                                    W / 2 - aw / 4, H / 2 + ah / 4, 0, 100);
    test.positionArrows[2] = new TVOutPositionArrow(sheet, aw / 2, top, aw / 2, ah / 2, k,
                                                    W / 2 - 3 * aw / 4, H / 2 - ah / 4, -100, 0);
    test.positionArrows[3] = new TVOutPositionArrow(sheet, aw / 2, top + ah / 2, aw / 2, ah / 2, k,
                                                    W / 2 + aw / 4, H / 2 - ah / 4, 100, 0);
    return 1;
}

}  // namespace vext
