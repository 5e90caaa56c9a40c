// The panel's entry point TVOutControl and its settings dialog, resource 101.
#pragma once

#include <cstdint>

#include "panel/tvout_panel.h"
#include "platform/abi.h"
#include "platform/dialog.h"

namespace vext {

// Control ids of dialog 101.
namespace ctl {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kTest = 1000;
constexpr int kSVideo = 1001;  // outputDevice = id - 1000
constexpr int kComposite = 1002;
constexpr int kBoth = 1003;
constexpr int kDotCrawl = 1004;
constexpr int kFlickerFilter = 1005;
constexpr int kTvOnly = 1006;
constexpr int kContrast = 1007;
constexpr int kBrightness = 1008;
constexpr int kOverscan = 1009;  // underscan = id - 1009
constexpr int kUnderscan = 1010;
constexpr int kResolution = 1011;
constexpr int kResolutionText = 1012;
constexpr int kDefault = 1014;
constexpr int kVertical = 1015;
constexpr int kHorizontal = 1016;
constexpr int kPreviewFrame = 1017;
constexpr int kContrastGroup = 1018;
constexpr int kScanGroup = 1019;
constexpr int kPositionGroup = 1020;
constexpr int kOutputGroup = 1021;
constexpr int kContrastIcon = 1022;
constexpr int kBrightnessIcon = 1023;
}  // namespace ctl

constexpr int kSettingsDialogId = 101;
constexpr int kBrightnessIconId = 116;
constexpr int kContrastIconId = 117;

// Moves values between TVOutStatus records and the controls of the dialog. Owns nothing.
class TVOutDialogControls {
  public:
    explicit TVOutDialogControls(platform::WindowHandle dialogWindow) : dialog(dialogWindow) {}

    int32_t GetResolutionPosition() const;
    int32_t GetHorizontalPosition() const;
    int32_t GetVerticalPosition() const;
    int32_t EnableTest(bool enable) const;
    // The position pair of the record's scan mode onto the position sliders.
    int32_t ShowPositions(const TVOutStatus& record) const;
    // The first fill, with clicks: the scan radio's click reaches the dialog as a command.
    int32_t InitControls(const TVOutStatus& record, const TVOutPanel& panel) const;
    // Shows a record without clicks, and has the dialog painted again.
    int32_t RefreshControls(const TVOutStatus& record, const TVOutPanel& panel) const;
    // What the controls show, into the record; the other scan mode's pair, enable and reserved
    // stay as they were.
    int32_t ReadControls(TVOutStatus* record, const TVOutPanel& panel) const;

    platform::WindowHandle dialog;

  private:
    int32_t ShowResolutionText(const TVOutStatus& record, const TVOutPanel& panel) const;
    int32_t ShowCommonSettings(const TVOutStatus& record) const;
    int32_t SetSliderLimits(int id, const SliderLimits& limits) const;
};

// The library's state, zero at load and kept while it is loaded.
struct TVOutModuleState {
    platform::ModuleHandle moduleHandle;
    int32_t dialogOpen;
    TVOutPanel* panel;
    TVOutDialogControls* controls;
    TVOutStatus workingSettings[MaxPanelResolutions];  // vertical positions in slider sense
    TVOutStatus savedSettings[MaxPanelResolutions];    // as read when the dialog opened
    int32_t currentIndex;
};

TVOutModuleState& moduleState();

intptr_t TVOutDialogProc(platform::WindowHandle dialog, uint32_t message, uintptr_t wParam,
                         intptr_t lParam);

// Context help and the position preview of the dialog.
intptr_t OnDialogHelp(intptr_t lParam);
intptr_t OnDialogPaint(platform::WindowHandle dialog);

// (control id, help context) pairs, ending with a pair of zeros.
extern const int32_t HelpContextTable[][2];

}  // namespace vext

extern "C" {
// Runs the settings dialog owned by parent. 0 when the library was never attached or a dialog
// is already open; 1 otherwise, whatever the dialog did.
VEXT_EXPORT int32_t VEXT_CDECL TVOutControl(vext::platform::WindowHandle parent);
}
