// Writes the test mode's bitmaps as BMP files for the resource compiler:
//   make_bitmaps OUTPUT_DIR   ->  bitmap106.bmp bitmap107.bmp bitmap110.bmp bitmap115.bmp
#include <cstdio>
#include <string>

#include "panel/resources/test_bitmaps.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bitmaps OUTPUT_DIR\n");
        return 2;
    }
    const int ids[] = {vext::kLabelBitmapId, vext::kBarBitmapId, vext::kLogoBitmapId,
                       vext::kArrowBitmapId};
    for (int id : ids) {
        vext::TestBitmap bitmap;
        vext::MakeTestBitmap(id, &bitmap);
        const std::vector<uint8_t> file = vext::BmpFile(bitmap);
        const std::string path = std::string(argv[1]) + "/bitmap" + std::to_string(id) + ".bmp";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
            std::fprintf(stderr, "make_bitmaps: cannot write %s\n", path.c_str());
            return 1;
        }
        if (std::fclose(f) != 0) {
            return 1;
        }
    }
    return 0;
}
