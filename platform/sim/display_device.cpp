// The display drivers of the simulation: software surfaces in 16-bit 5-6-5.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

#include "platform/dialog_template.h"
#include "platform/display_device.h"
#include "platform/sim/sim_display.h"
#include "platform/sim/simroot.h"

namespace vext::sim {

namespace p = platform;

namespace {

constexpr int32_t kInvalidRect = static_cast<int32_t>(0x88760096);
constexpr int32_t kInvalidParams = static_cast<int32_t>(0x80070057);
constexpr int kMaxDrivers = 16;

struct DriverEntry {
    std::string name;
    std::string description;
    DisplayMode initial{640, 480, 16};
    std::vector<DisplayMode> refused;
};

bool parseMode(const std::string& text, DisplayMode* mode) {
    return std::sscanf(text.c_str(), "%dx%dx%d", &mode->width, &mode->height, &mode->depth) == 3;
}

std::vector<DriverEntry> readDrivers() {
    std::string contents;
    if (!readWholeFile(simPath(kDisplayDevicesFile), &contents)) {
        return {{"display", "Primary display driver", {640, 480, 16}, {}},
                {"VEXTA", "3D accelerator board", {640, 480, 16}, {}}};
    }
    std::vector<DriverEntry> drivers;
    std::istringstream lines(contents);
    std::string line;
    while (std::getline(lines, line) && drivers.size() < kMaxDrivers) {
        std::istringstream in(line);
        DriverEntry entry;
        if (!(in >> entry.name) || entry.name[0] == '#') {
            continue;
        }
        in >> std::ws;
        if (in.peek() == '"') {
            in.get();
            std::getline(in, entry.description, '"');
        }
        std::string option;
        while (in >> option) {
            if (option.rfind("mode=", 0) == 0) {
                parseMode(option.substr(5), &entry.initial);
            } else if (option.rfind("refuse=", 0) == 0) {
                std::istringstream modes(option.substr(7));
                std::string one;
                while (std::getline(modes, one, ',')) {
                    DisplayMode m{};
                    if (parseMode(one, &m)) {
                        entry.refused.push_back(m);
                    }
                }
            }
        }
        drivers.push_back(entry);
    }
    return drivers;
}

// Stable identifiers for the drivers after the first: their index.
int driverIds[kMaxDrivers];

std::map<std::string, DisplayMode>& currentModes() {
    static std::map<std::string, DisplayMode> modes;
    return modes;
}

std::string modeText(int w, int h, int d) {
    return std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(d);
}

std::string& nextFramePath() {
    static std::string path;
    return path;
}

std::vector<uint16_t>& lastFramePixels() {
    static std::vector<uint16_t> pixels;
    return pixels;
}
int lastFrameWidth = 0;
int lastFrameHeight = 0;
int liveDevices = 0;
int liveSurfaces = 0;

class SimDevice;
std::vector<SimDevice*>& devices() {
    static std::vector<SimDevice*> list;
    return list;
}

uint16_t to565(uint32_t rgb) {
    const uint32_t r = (rgb >> 16) & 0xFF;
    const uint32_t g = (rgb >> 8) & 0xFF;
    const uint32_t b = rgb & 0xFF;
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

class SimSurface final : public p::DisplaySurface {
  public:
    SimSurface(SimDevice* device, int width, int height, bool primary)
        : device_(device), width_(width), height_(height), primary_(primary) {
        pixels_.assign(static_cast<size_t>(width) * height, 0);
        ++liveSurfaces;
    }
    ~SimSurface() { --liveSurfaces; }

    int32_t attachedBackBuffer(p::DisplaySurface** backBuffer) override {
        if (backBuffer == nullptr) {
            return kInvalidParams;
        }
        *backBuffer = back_;
        return back_ != nullptr ? p::kDisplayOk : p::kDisplayFailed;
    }

    int32_t copy(const p::Rect& destination, p::DisplaySurface* source, const p::Rect& sourceRect,
                 bool keyed) override {
        auto* from = static_cast<SimSurface*>(source);
        if (from == nullptr) {
            return kInvalidParams;
        }
        if (lost_ || from->lost_) {
            return p::kDisplaySurfaceLost;
        }
        const int w = destination.right - destination.left;
        const int h = destination.bottom - destination.top;
        if (w != sourceRect.right - sourceRect.left || h != sourceRect.bottom - sourceRect.top) {
            return kInvalidParams;  // the test mode never stretches
        }
        if (w <= 0 || h <= 0) {
            return p::kDisplayOk;
        }
        if (!inside(destination) || !from->inside(sourceRect)) {
            return kInvalidRect;  // no clipping, as without a clipper
        }
        // A copy within one surface reads the source before it writes.
        std::vector<uint16_t> block(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                block[static_cast<size_t>(y) * w + x] =
                    from->at(sourceRect.left + x, sourceRect.top + y);
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint16_t v = block[static_cast<size_t>(y) * w + x];
                if (keyed && from->hasKey_ && v == from->key_) {
                    continue;
                }
                at(destination.left + x, destination.top + y) = v;
            }
        }
        return p::kDisplayOk;
    }

    int32_t fill(const p::Rect& destination, uint32_t colour) override {
        if (lost_) {
            return p::kDisplaySurfaceLost;
        }
        if (destination.right <= destination.left || destination.bottom <= destination.top) {
            return p::kDisplayOk;
        }
        if (!inside(destination)) {
            return kInvalidRect;
        }
        for (int y = destination.top; y < destination.bottom; ++y) {
            std::fill_n(&at(destination.left, y), destination.right - destination.left,
                        static_cast<uint16_t>(colour));
        }
        return p::kDisplayOk;
    }

    int32_t setSourceColourKey(uint32_t key) override {
        key_ = static_cast<uint16_t>(key);
        hasKey_ = true;
        return p::kDisplayOk;
    }

    int32_t flip() override;

    int32_t restore() override {
        if (lost_) {
            lost_ = false;
            std::fill(pixels_.begin(), pixels_.end(), 0);  // a restored surface holds no picture
        }
        if (back_ != nullptr) {
            back_->restore();
        }
        return p::kDisplayOk;
    }

    int32_t drawBitmap(p::ModuleHandle module, int resourceId, int x, int y, int* width,
                       int* height) override {
        const auto* resources = static_cast<const p::ModuleResources*>(module);
        p::BitmapImage image;
        if (resources == nullptr || resources->bitmap == nullptr ||
            !resources->bitmap(resourceId, &image)) {
            return p::kDisplayFailed;
        }
        if (width != nullptr) {
            *width = image.width;
        }
        if (height != nullptr) {
            *height = image.height;
        }
        if (lost_) {
            return p::kDisplaySurfaceLost;
        }
        // Through a device context: clipped to the surface.
        for (int row = 0; row < image.height; ++row) {
            for (int col = 0; col < image.width; ++col) {
                const int tx = x + col;
                const int ty = y + row;
                if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) {
                    continue;
                }
                const uint8_t index = image.pixels[static_cast<size_t>(row) * image.width + col];
                at(tx, ty) = to565(index < image.palette.size() ? image.palette[index] : 0);
            }
        }
        return p::kDisplayOk;
    }

    void release() override;

    bool inside(const p::Rect& r) const {
        return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_;
    }
    uint16_t& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    SimDevice* device_;
    int width_;
    int height_;
    bool primary_;
    bool lost_ = false;
    bool hasKey_ = false;
    uint16_t key_ = 0;
    SimSurface* back_ = nullptr;
    std::vector<uint16_t> pixels_;
};

class SimDevice final : public p::DisplayDevice {
  public:
    explicit SimDevice(const DriverEntry& entry) : entry_(entry) {
        ++liveDevices;
        devices().push_back(this);
        displayLog().push_back("create " + entry_.name);
    }
    ~SimDevice() {
        --liveDevices;
        auto& list = devices();
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    int32_t setCooperativeLevel(p::WindowHandle, uint32_t flags) override {
        exclusive_ = (flags & p::kDisplayExclusive) != 0;
        return p::kDisplayOk;
    }

    int32_t setDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) override {
        const std::string text = modeText(width, height, bitsPerPixel);
        bool refused = bitsPerPixel != 16 || width <= 0 || height <= 0;
        for (const DisplayMode& m : entry_.refused) {
            refused =
                refused || (m.width == width && m.height == height && m.depth == bitsPerPixel);
        }
        if (refused) {
            displayLog().push_back("refuse " + entry_.name + " " + text);
            return p::kDisplayInvalidMode;
        }
        if (!modeChanged_) {
            before_ = displayMode(entry_.name);
            modeChanged_ = true;
        }
        currentModes()[entry_.name] = {width, height, bitsPerPixel};
        displayLog().push_back("mode " + entry_.name + " " + text);
        return p::kDisplayOk;
    }

    int32_t createPrimary(int32_t backBufferCount, p::DisplaySurface** surface) override {
        if (surface == nullptr || backBufferCount != 1) {
            return kInvalidParams;  // the test mode's chain: one back buffer
        }
        const DisplayMode mode = displayMode(entry_.name);
        if (mode.depth != 16) {
            return p::kDisplayInvalidMode;
        }
        auto* primary = add(mode.width, mode.height, true);
        primary->back_ = add(mode.width, mode.height, false);
        *surface = primary;
        return p::kDisplayOk;
    }

    int32_t createOffscreen(int32_t width, int32_t height, p::DisplaySurface** surface) override {
        if (surface == nullptr || width <= 0 || height <= 0) {
            return kInvalidParams;
        }
        if (displayMode(entry_.name).depth != 16) {
            return p::kDisplayInvalidMode;
        }
        *surface = add(width, height, false);
        return p::kDisplayOk;
    }

    void release() override {
        displayLog().push_back("release " + entry_.name);
        if (modeChanged_) {
            currentModes()[entry_.name] = before_;  // the display gets its earlier mode back
            displayLog().push_back("mode " + entry_.name + " " +
                                   modeText(before_.width, before_.height, before_.depth));
        }
        surfaces_.clear();
        delete this;
    }

    SimSurface* add(int width, int height, bool primary) {
        surfaces_.push_back(std::make_unique<SimSurface>(this, width, height, primary));
        displayLog().push_back("surface " + entry_.name + " " + std::to_string(width) + "x" +
                               std::to_string(height));
        return surfaces_.back().get();
    }

    void remove(SimSurface* surface) {
        for (auto it = surfaces_.begin(); it != surfaces_.end(); ++it) {
            if (it->get() == surface) {
                surfaces_.erase(it);
                return;
            }
        }
    }

    void loseAll() {
        for (auto& s : surfaces_) {
            s->lost_ = true;
        }
    }

    const std::string& name() const { return entry_.name; }

  private:
    DriverEntry entry_;
    bool exclusive_ = false;
    bool modeChanged_ = false;
    DisplayMode before_{};
    std::vector<std::unique_ptr<SimSurface>> surfaces_;
};

int32_t SimSurface::flip() {
    if (!primary_ || back_ == nullptr) {
        return kInvalidParams;
    }
    if (lost_ || back_->lost_) {
        return p::kDisplaySurfaceLost;
    }
    pixels_.swap(back_->pixels_);
    lastFramePixels() = pixels_;
    lastFrameWidth = width_;
    lastFrameHeight = height_;
    std::string& path = nextFramePath();
    if (!path.empty()) {
        if (writeFramePng(path, pixels_, width_, height_)) {
            savedFrames().push_back(path);
        }
        path.clear();
    }
    return p::kDisplayOk;
}

void SimSurface::release() {
    SimDevice* device = device_;
    if (back_ != nullptr) {
        device->remove(back_);  // the chain goes as one
    }
    device->remove(this);
}

}  // namespace

DisplayMode displayMode(const std::string& driverName) {
    auto it = currentModes().find(driverName);
    if (it != currentModes().end()) {
        return it->second;
    }
    for (const DriverEntry& entry : readDrivers()) {
        if (entry.name == driverName) {
            return entry.initial;
        }
    }
    return {640, 480, 16};
}

std::vector<std::string>& displayLog() {
    static std::vector<std::string> log;
    return log;
}

int liveDisplayDevices() {
    return liveDevices;
}

int liveDisplaySurfaces() {
    return liveSurfaces;
}

void loseDisplaySurfaces() {
    for (SimDevice* d : devices()) {
        d->loseAll();
    }
}

void saveNextFrame(const std::string& path) {
    nextFramePath() = path;
}

std::vector<std::string>& savedFrames() {
    static std::vector<std::string> frames;
    return frames;
}

const std::vector<uint16_t>& lastFrame(int* width, int* height) {
    if (width != nullptr) {
        *width = lastFrameWidth;
    }
    if (height != nullptr) {
        *height = lastFrameHeight;
    }
    return lastFramePixels();
}

bool writeFramePng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                   int height) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t v = pixels[static_cast<size_t>(y) * width + x];
            // Widened so that full scale stays full scale.
            const uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
            row[x * 3] = static_cast<uint8_t>(r << 3 | r >> 2);
            row[x * 3 + 1] = static_cast<uint8_t>(g << 2 | g >> 4);
            row[x * 3 + 2] = static_cast<uint8_t>(b << 3 | b >> 2);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace vext::sim

namespace vext::platform {

int32_t createDisplayDevice(void* deviceId, DisplayDevice** device) {
    if (device == nullptr) {
        return sim::kInvalidParams;
    }
    *device = nullptr;
    const std::vector<sim::DriverEntry> drivers = sim::readDrivers();
    size_t index = 0;
    if (deviceId != nullptr) {
        const int* id = static_cast<const int*>(deviceId);
        if (id < sim::driverIds || id >= sim::driverIds + sim::kMaxDrivers) {
            return kDisplayFailed;
        }
        index = static_cast<size_t>(id - sim::driverIds);
    }
    if (index >= drivers.size()) {
        return kDisplayFailed;
    }
    *device = new sim::SimDevice(drivers[index]);
    return kDisplayOk;
}

bool bitmapSize(ModuleHandle module, int resourceId, int* width, int* height) {
    const auto* resources = static_cast<const ModuleResources*>(module);
    BitmapImage image;
    if (resources == nullptr || resources->bitmap == nullptr ||
        !resources->bitmap(resourceId, &image)) {
        return false;
    }
    *width = image.width;
    *height = image.height;
    return true;
}

int32_t enumerateDisplayDevices(DisplayEnumCallback callback, void* context) {
    if (callback == nullptr) {
        return sim::kInvalidParams;
    }
    std::vector<sim::DriverEntry> drivers = sim::readDrivers();
    for (size_t i = 0; i < drivers.size(); ++i) {
        void* id = i == 0 ? nullptr : &sim::driverIds[i];
        if (callback(id, drivers[i].description.data(), drivers[i].name.data(), context) ==
            kEnumerationCancel) {
            break;
        }
    }
    return kDisplayOk;
}

}  // namespace vext::platform
