// The bitmaps of the test mode, drawn by code: the menu words (106), a value bar segment (107),
// the logo (110) and the four arrows (115). The Windows build writes them as BMP files for the
// resource compiler (make_bitmaps); the simulation draws them when the library loads them.
// Stands alone: the generator is built for the build machine from this file and its source.
#pragma once

#include <cstdint>
#include <vector>

namespace vext {

// 8 bits per pixel: palette indices in rows from the top, and the palette as 0xRRGGBB.
struct TestBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> palette;
};

constexpr int kLabelBitmapId = 106;
constexpr int kBarBitmapId = 107;
constexpr int kLogoBitmapId = 110;
constexpr int kArrowBitmapId = 115;

// False for a number that is none of the four.
bool MakeTestBitmap(int resourceId, TestBitmap* bitmap);

// The bitmap as a BMP file (8 bits per pixel, full palette).
std::vector<uint8_t> BmpFile(const TestBitmap& bitmap);

}  // namespace vext
