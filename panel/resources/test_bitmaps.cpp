#include "panel/resources/test_bitmaps.h"

#include <cstring>

namespace vext {

namespace {

// Pure blue is the colour key of every menu image: wherever a picture is to be transparent.
constexpr uint32_t kKeyBlue = 0x0000FF;

// A 5 x 7 font, one string per glyph: the letters of the menu's words and the logo.
struct Glyph {
    char c;
    const char* rows[7];
};

const Glyph kFont[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'c', {".....", ".....", ".###.", "#....", "#....", "#...#", ".###."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'g', {".....", ".####", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'k', {"#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'t', {"..#..", "..#..", "#####", "..#..", "..#..", "..#.#", "...#."}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
};

const Glyph* glyph(char c) {
    for (const Glyph& g : kFont) {
        if (g.c == c) {
            return &g;
        }
    }
    return nullptr;  // a space, or a letter the pictures never use
}

void begin(TestBitmap* b, int width, int height, uint8_t background) {
    b->width = width;
    b->height = height;
    b->pixels.assign(static_cast<size_t>(width) * height, background);
    b->palette.assign(256, 0);
}

void put(TestBitmap* b, int x, int y, uint8_t index) {
    if (x >= 0 && y >= 0 && x < b->width && y < b->height) {
        b->pixels[static_cast<size_t>(y) * b->width + x] = index;
    }
}

// Text at twice the font's size, 11 pixels a letter, with a shadow one pixel down and right.
void text(TestBitmap* b, int x, int y, const char* s, uint8_t ink, uint8_t shadow) {
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        const uint8_t colour = pass == 0 ? shadow : ink;
        for (int i = 0; s[i] != '\0'; ++i) {
            const Glyph* g = glyph(s[i]);
            for (int row = 0; g != nullptr && row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (g->rows[row][col] != '#') {
                        continue;
                    }
                    for (int k = 0; k < 4; ++k) {
                        put(b, x + i * 11 + col * 2 + k % 2 + d, y + row * 2 + k / 2 + d, colour);
                    }
                }
            }
        }
    }
}

// Nine words in rows of 32 pixels, light text on pure blue.
void labels(TestBitmap* b) {
    begin(b, 180, 288, 0);
    b->palette[0] = kKeyBlue;
    b->palette[1] = 0xF0F0F0;
    b->palette[2] = 0x202020;
    const char* const words[] = {
        "FreezeDotCrawl", "FlickerFilter", "Contrast", "Brightness", "ON", "OFF",
        "Position...",    "Press Enter",   "OK"};
    for (int row = 0; row < 9; ++row) {
        text(b, 2, row * 32 + 9, words[row], 1, 2);
    }
}

// One bar segment: grey stripes, light at the top and dark at the bottom, with no blue.
void barSegment(TestBitmap* b) {
    begin(b, 32, 32, 0);
    for (int y = 0; y < 32; ++y) {
        const uint32_t level = static_cast<uint32_t>(y % 4 == 3 ? 90 : 232 - y * 4);
        b->palette[y] = level << 16 | level << 8 | level;
        for (int x = 0; x < 32; ++x) {
            put(b, x, y, static_cast<uint8_t>(x == 31 ? 31 : y));
        }
    }
}

// Four arrow heads on pure blue, one per 32 x 32 quarter: up, left / down, right.
void arrows(TestBitmap* b) {
    begin(b, 64, 64, 0);
    b->palette[0] = kKeyBlue;
    b->palette[1] = 0xFFE000;
    b->palette[2] = 0x302000;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int ox = quarter % 2 * 32;
        const int oy = quarter / 2 * 32;
        for (int along = 0; along < 24; ++along) {  // from the tip
            for (int across = -12; across <= 12; ++across) {
                const int half = along / 2;
                if (across < -half || across > half) {
                    continue;
                }
                const uint8_t colour = (across == -half || across == half || along == 23) ? 2 : 1;
                int x = 0;
                int y = 0;
                switch (quarter) {
                    case 0:  // up
                        x = 16 + across, y = 4 + along;
                        break;
                    case 1:  // left
                        x = 4 + along, y = 16 + across;
                        break;
                    case 2:  // down
                        x = 16 + across, y = 27 - along;
                        break;
                    default:  // right
                        x = 27 - along, y = 16 + across;
                        break;
                }
                put(b, ox + x, oy + y, colour);
            }
        }
    }
}

// The logo: the name on dark grey over a stripe of the six corner hues of the test picture.
void logo(TestBitmap* b) {
    begin(b, 93, 26, 0);
    b->palette[0] = 0x303030;
    b->palette[1] = 0xFFFFFF;
    b->palette[2] = 0x000000;
    const uint32_t hues[6] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
    for (int i = 0; i < 6; ++i) {
        b->palette[3 + i] = hues[i];
    }
    for (int x = 0; x < 93; ++x) {
        put(b, x, 0, 1);
        put(b, x, 25, 1);
        for (int y = 20; y < 24; ++y) {
            put(b, x, y, static_cast<uint8_t>(3 + x * 6 / 93));
        }
    }
    for (int y = 0; y < 26; ++y) {
        put(b, 0, y, 1);
        put(b, 92, y, 1);
    }
    text(b, 25, 3, "vext", 1, 2);
}

void le16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void le32(std::vector<uint8_t>& out, uint32_t v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

}  // namespace

bool MakeTestBitmap(int resourceId, TestBitmap* bitmap) {
    switch (resourceId) {
        case kLabelBitmapId:
            labels(bitmap);
            return true;
        case kBarBitmapId:
            barSegment(bitmap);
            return true;
        case kLogoBitmapId:
            logo(bitmap);
            return true;
        case kArrowBitmapId:
            arrows(bitmap);
            return true;
        default:
            return false;
    }
}

std::vector<uint8_t> BmpFile(const TestBitmap& bitmap) {
    const uint32_t rowBytes = static_cast<uint32_t>((bitmap.width + 3) & ~3);
    const uint32_t paletteBytes = 256 * 4;
    const uint32_t offset = 14 + 40 + paletteBytes;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(bitmap.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    le32(out, offset + imageBytes);
    le32(out, 0);
    le32(out, offset);
    le32(out, 40);
    le32(out, static_cast<uint32_t>(bitmap.width));
    le32(out, static_cast<uint32_t>(bitmap.height));  // rows from the bottom
    le16(out, 1);
    le16(out, 8);
    le32(out, 0);  // uncompressed
    le32(out, imageBytes);
    le32(out, 2835);
    le32(out, 2835);
    le32(out, 256);
    le32(out, 0);
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = i < static_cast<int>(bitmap.palette.size()) ? bitmap.palette[i] : 0;
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(0);
    }
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const uint8_t* row = &bitmap.pixels[static_cast<size_t>(y) * bitmap.width];
        out.insert(out.end(), row, row + bitmap.width);
        out.insert(out.end(), rowBytes - static_cast<uint32_t>(bitmap.width), 0);
    }
    return out;
}

}  // namespace vext
