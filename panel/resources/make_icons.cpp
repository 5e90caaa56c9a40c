// Draws the panel's two slider icons and writes them as 32 x 32, 16-colour .ico files:
//   icon 117 (contrast): a circle outlined in black with its right half filled black;
//   icon 116 (brightness): a sun, a black ring with eight black rays.
// Everything else is transparent. The build runs it on the build machine; with --text it prints
// the pictures instead, '#' for black and '.' for transparent.
//   make_icons OUTPUT_DIR | make_icons --text
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
using Picture = std::vector<std::string>;  // kSize rows of kSize characters, top row first

Picture blank() {
    return Picture(kSize, std::string(kSize, '.'));
}

// The drawings sit in the top-left 20 x 20 pixels of the image: the template places the slider
// 15 dialog units to the right of each icon and the next icon 16 units below, which with the
// 8-point dialog font leaves about that much of the image in view.
constexpr double kCentre = 10.0;

// Pixel centres measured from the drawing's centre.
double dx(int x) {
    return x + 0.5 - kCentre;
}
double dy(int y) {
    return y + 0.5 - kCentre;
}

Picture contrastIcon() {
    Picture p = blank();
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double r = std::hypot(dx(x), dy(y));
            const bool outline = r <= 9.6 && r >= 7.9;
            const bool rightHalf = r <= 9.5 && dx(x) > 0;
            if (outline || rightHalf) {
                p[y][x] = '#';
            }
        }
    }
    return p;
}

Picture brightnessIcon() {
    Picture p = blank();
    const double pi = std::acos(-1.0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double r = std::hypot(dx(x), dy(y));
            bool ink = r <= 4.8 && r >= 3.3;
            if (r >= 6.5 && r <= 9.8) {
                // Eight rays, every 45 degrees, one or two pixels wide.
                const double angle = std::atan2(dy(y), dx(x));
                const double nearest = std::round(angle / (pi / 4)) * (pi / 4);
                ink = ink || std::fabs(std::sin(angle - nearest)) * r <= 0.75;
            }
            if (ink) {
                p[y][x] = '#';
            }
        }
    }
    return p;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One 4-bit colour image with its transparency mask, as the icon resource format wants it.
std::vector<uint8_t> iconFile(const Picture& p) {
    // The 16 colours of the standard VGA palette; black is index 0.
    static const uint8_t palette[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    const uint32_t colourBytes = kSize * kSize / 2;
    const uint32_t maskBytes = kSize * kSize / 8;  // rows of 4 bytes, already 32-bit aligned
    const uint32_t imageBytes = 40 + 16 * 4 + colourBytes + maskBytes;

    std::vector<uint8_t> out;
    put16(out, 0);  // icon directory: reserved, type 1 (icon), one image
    put16(out, 1);
    put16(out, 1);
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(16);  // colours
    out.push_back(0);
    put16(out, 1);  // planes
    put16(out, 4);  // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16);

    put32(out, 40);  // BITMAPINFOHEADER; the height counts colour image and mask
    put32(out, kSize);
    put32(out, kSize * 2);
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, colourBytes + maskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (const auto& c : palette) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }
    // Rows bottom up. Transparent pixels are colour 0 with the mask bit set.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            out.push_back(0);
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 8) {
            uint8_t bits = 0;
            for (int b = 0; b < 8; ++b) {
                if (p[y][x + b] != '#') {
                    bits |= static_cast<uint8_t>(0x80 >> b);
                }
            }
            out.push_back(bits);
        }
    }
    return out;
}

bool write(const std::string& path, const Picture& p) {
    const std::vector<uint8_t> data = iconFile(p);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_DIR | make_icons --text\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--text") == 0) {
        for (const auto& [id, picture] :
             {std::pair{117, contrastIcon()}, {116, brightnessIcon()}}) {
            std::printf("icon %d\n", id);
            for (const std::string& row : picture) {
                std::printf("%s\n", row.c_str());
            }
        }
        return 0;
    }
    const std::string dir = argv[1];
    return write(dir + "/icon117.ico", contrastIcon()) &&
                   write(dir + "/icon116.ico", brightnessIcon())
               ? 0
               : 1;
}
