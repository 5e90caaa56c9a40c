// The panel's settings model: the resolutions it offers, the limits of its sliders, the name of
// the board's display driver, and the moves of TVOutStatus records to and from vextlink.
#pragma once

#include <cstdint>

#include "driver/settings.h"

namespace vext {

constexpr int32_t MaxPanelResolutions = 10;

struct PanelResolution {
    int32_t code;  // the host library's resolution code
    int32_t width;
    int32_t height;
    int32_t depth;
};

struct SliderLimits {
    int32_t maximum;
    int32_t minimum;
    int32_t tickFrequency;
};

// Constant once constructed. Inside the panel the vertical positions of a record hold values of
// the vertical slider, whose top end is the driver's 255; toward and from the driver they are
// mirrored (VerticalMirror).
class TVOutPanel {
  public:
    TVOutPanel();

    // Index of the first of the resolutionCount entries whose code is code, or -1.
    int32_t IndexOfResolution(int32_t code) const;
    // Fills record with the stored settings of code, vertical positions mirrored. 0, with the
    // record all zero and vextlink not called, when code is not one of the panel's.
    int32_t ReadSettings(TVOutStatus* record, int32_t code) const;
    // The same with the driver's defaults; the record comes back with the plain code.
    int32_t ReadDefaultSettings(TVOutStatus* record, int32_t code) const;
    // Stores the record through vextlink with the vertical positions mirrored; the record itself
    // is left as it was. Always 1.
    int32_t ApplySettings(const TVOutStatus* record) const;
    // 1 when the DirectDraw driver registered under driverKeyPath is the board's (driverName).
    int32_t IsBoardDisplayDriver() const;

    int32_t resolutionCount;
    PanelResolution resolutions[MaxPanelResolutions];
    SliderLimits contrastLimits;
    SliderLimits brightnessLimits;
    SliderLimits horizontalLimits;
    SliderLimits verticalLimits;
    const char* driverName;
    const char* driverKeyPath;
    const char* driverValueName;

  private:
    int32_t read(TVOutStatus* record, int32_t code, uint16_t flag) const;
    void mirrorVertical(TVOutStatus* record) const;
};

// Copies the seven settings that vextlink keeps once for all resolutions (enable, outputDevice,
// dotCrawl, flickerFilter, tvOnly, contrast, brightness) from source into the first count
// records. source may be one of them.
void CopyCommonSettings(const TVOutStatus* source, TVOutStatus* records, int32_t count);

}  // namespace vext
