#include "panel/tvout_dialog.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "panel/test/test_window.h"
#include "platform/test_window.h"

namespace vext {

namespace p = platform;

namespace {

TVOutModuleState state;

int32_t positionIndex(const TVOutStatus& record) {
    return record.underscan != 0 ? 1 : 0;
}

// Output radio of an outputDevice value, or 0 when it names none.
int outputRadio(uint16_t outputDevice) {
    return outputDevice >= 1 && outputDevice <= 3 ? ctl::kSVideo + outputDevice - 1 : 0;
}

// Scan radio of an underscan value, or 0 when it names none.
int scanRadio(uint16_t underscan) {
    return underscan <= 1 ? ctl::kOverscan + underscan : 0;
}

bool checked(p::WindowHandle dialog, int id) {
    return p::buttonState(dialog, id) == p::kButtonChecked;
}

}  // namespace

TVOutModuleState& moduleState() {
    return state;
}

// ---- TVOutDialogControls ----

int32_t TVOutDialogControls::GetResolutionPosition() const {
    return p::trackbarPosition(dialog, ctl::kResolution);
}

int32_t TVOutDialogControls::GetHorizontalPosition() const {
    return p::trackbarPosition(dialog, ctl::kHorizontal);
}

int32_t TVOutDialogControls::GetVerticalPosition() const {
    return p::trackbarPosition(dialog, ctl::kVertical);
}

int32_t TVOutDialogControls::EnableTest(bool enable) const {
    p::enableItem(dialog, ctl::kTest, enable);
    return 1;
}

int32_t TVOutDialogControls::ShowPositions(const TVOutStatus& record) const {
    const TVOutPosition& position = record.position[positionIndex(record)];
    p::setTrackbarPosition(dialog, ctl::kHorizontal, static_cast<int16_t>(position.horizontal));
    p::setTrackbarPosition(dialog, ctl::kVertical, static_cast<int16_t>(position.vertical));
    return 1;
}

int32_t TVOutDialogControls::ShowResolutionText(const TVOutStatus& record,
                                                const TVOutPanel& panel) const {
    int32_t index = panel.IndexOfResolution(record.resolution);
    if (index < 0) {
        return 0;  // the dialog only holds the panel's own codes
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d x %d", static_cast<int>(panel.resolutions[index].width),
                  static_cast<int>(panel.resolutions[index].height));
    p::setItemText(dialog, ctl::kResolutionText, text);
    return 1;
}

int32_t TVOutDialogControls::ShowCommonSettings(const TVOutStatus& record) const {
    p::checkButton(dialog, ctl::kTvOnly, record.tvOnly);
    p::checkButton(dialog, ctl::kDotCrawl, record.dotCrawl);
    p::checkButton(dialog, ctl::kFlickerFilter, record.flickerFilter);
    return 1;
}

int32_t TVOutDialogControls::SetSliderLimits(int id, const SliderLimits& limits) const {
    p::setTrackbarRange(dialog, id, static_cast<int16_t>(limits.minimum),
                        static_cast<int16_t>(limits.maximum));
    p::setTrackbarTickFrequency(dialog, id, static_cast<int16_t>(limits.tickFrequency));
    return 1;
}

int32_t TVOutDialogControls::InitControls(const TVOutStatus& record,
                                          const TVOutPanel& panel) const {
    p::setTrackbarRange(dialog, ctl::kResolution, 0, panel.resolutionCount - 1);
    p::setTrackbarTickFrequency(dialog, ctl::kResolution, 1);
    p::setTrackbarPosition(dialog, ctl::kResolution, panel.IndexOfResolution(record.resolution));
    ShowResolutionText(record, panel);

    if (int radio = outputRadio(record.outputDevice); radio != 0) {
        p::clickButton(dialog, radio);
    }
    ShowCommonSettings(record);
    if (int radio = scanRadio(record.underscan); radio != 0) {
        p::clickButton(dialog, radio);  // runs the scan handling of the dialog
    }

    SetSliderLimits(ctl::kContrast, panel.contrastLimits);
    p::setTrackbarPosition(dialog, ctl::kContrast, record.contrast);
    SetSliderLimits(ctl::kBrightness, panel.brightnessLimits);
    p::setTrackbarPosition(dialog, ctl::kBrightness, record.brightness);
    SetSliderLimits(ctl::kHorizontal, panel.horizontalLimits);
    SetSliderLimits(ctl::kVertical, panel.verticalLimits);
    ShowPositions(record);
    return 1;
}

int32_t TVOutDialogControls::RefreshControls(const TVOutStatus& record,
                                             const TVOutPanel& panel) const {
    ShowResolutionText(record, panel);
    int radio = outputRadio(record.outputDevice);
    for (int id = ctl::kSVideo; id <= ctl::kBoth; ++id) {
        p::checkButton(dialog, id, id == radio ? p::kButtonChecked : 0);
    }
    ShowCommonSettings(record);
    SetSliderLimits(ctl::kContrast, panel.contrastLimits);
    p::setTrackbarPosition(dialog, ctl::kContrast, record.contrast);
    SetSliderLimits(ctl::kBrightness, panel.brightnessLimits);
    p::setTrackbarPosition(dialog, ctl::kBrightness, record.brightness);
    ShowPositions(record);
    radio = scanRadio(record.underscan);
    for (int id = ctl::kOverscan; id <= ctl::kUnderscan; ++id) {
        p::checkButton(dialog, id, id == radio ? p::kButtonChecked : 0);
    }
    p::invalidateWindow(dialog);
    return 1;
}

int32_t TVOutDialogControls::ReadControls(TVOutStatus* record, const TVOutPanel& panel) const {
    int32_t index = GetResolutionPosition();
    if (index >= 0 && index < panel.resolutionCount) {
        record->resolution = static_cast<uint16_t>(panel.resolutions[index].code);
    }
    // A group without a checked radio keeps the record's value, so that a stored value the
    // dialog has no radio for passes through unchanged.
    for (int id = ctl::kSVideo; id <= ctl::kBoth; ++id) {
        if (checked(dialog, id)) {
            record->outputDevice = static_cast<uint16_t>(id - ctl::kSVideo + 1);
            break;
        }
    }
    record->tvOnly = checked(dialog, ctl::kTvOnly) ? 1 : 0;
    record->dotCrawl = checked(dialog, ctl::kDotCrawl) ? 1 : 0;
    record->flickerFilter = checked(dialog, ctl::kFlickerFilter) ? 1 : 0;
    if (checked(dialog, ctl::kOverscan)) {
        record->underscan = 0;
    } else if (checked(dialog, ctl::kUnderscan)) {
        record->underscan = 1;
    }
    record->contrast = static_cast<uint16_t>(p::trackbarPosition(dialog, ctl::kContrast));
    record->brightness = static_cast<uint16_t>(p::trackbarPosition(dialog, ctl::kBrightness));
    TVOutPosition& position = record->position[positionIndex(*record)];
    position.horizontal = static_cast<uint16_t>(GetHorizontalPosition());
    position.vertical = static_cast<uint16_t>(GetVerticalPosition());
    return 1;
}

// ---- the dialog procedure ----

namespace {

void applyAll(const TVOutStatus* records) {
    for (int32_t i = 0; i < state.panel->resolutionCount; ++i) {
        state.panel->ApplySettings(&records[i]);
    }
}

intptr_t onInitDialog(p::WindowHandle dialog) {
    state.panel = new (std::nothrow) TVOutPanel();
    state.controls = new (std::nothrow) TVOutDialogControls(dialog);
    if (state.panel == nullptr || state.controls == nullptr) {
        // Nothing has been read, so nothing may be stored: the dialog ends at once.
        p::endDialog(dialog, -1);
        return 1;
    }
    const TVOutPanel& panel = *state.panel;
    for (int32_t i = 0; i < panel.resolutionCount; ++i) {
        panel.ReadSettings(&state.workingSettings[i], panel.resolutions[i].code);
        std::memcpy(&state.savedSettings[i], &state.workingSettings[i], sizeof(TVOutStatus));
    }
    state.currentIndex = 2;
    state.controls->InitControls(state.workingSettings[2], panel);
    if (panel.IsBoardDisplayDriver() == 0) {
        state.controls->EnableTest(false);
    }
    return 1;
}

void onOk(p::WindowHandle dialog) {
    const TVOutPanel& panel = *state.panel;
    int32_t i = state.controls->GetResolutionPosition();
    if (i >= 0 && i < panel.resolutionCount) {
        state.controls->ReadControls(&state.workingSettings[i], panel);
        CopyCommonSettings(&state.workingSettings[i], state.workingSettings, panel.resolutionCount);
    }
    applyAll(state.workingSettings);
    p::endDialog(dialog, 1);
}

void onCancel(p::WindowHandle dialog) {
    applyAll(state.savedSettings);
    p::endDialog(dialog, 2);
}

void onScan(p::WindowHandle dialog, int id) {
    TVOutStatus& record = state.workingSettings[state.currentIndex];
    record.underscan = static_cast<uint16_t>(id - ctl::kOverscan);
    state.controls->ShowPositions(record);
    p::invalidateWindow(dialog);
}

void onDefault() {
    const TVOutPanel& panel = *state.panel;
    for (int32_t k = 0; k < panel.resolutionCount; ++k) {
        panel.ReadDefaultSettings(&state.workingSettings[k], panel.resolutions[k].code);
        CopyCommonSettings(&state.workingSettings[k], state.workingSettings, panel.resolutionCount);
    }
    state.controls->RefreshControls(state.workingSettings[state.currentIndex], panel);
}

// Tests the current resolution's settings full screen; the dialog waits, disabled.
void onTest(p::WindowHandle dialog) {
    const TVOutPanel& panel = *state.panel;
    TVOutStatus& record = state.workingSettings[state.currentIndex];
    p::enableWindow(dialog, false);
    state.controls->ReadControls(&record, panel);
    panel.ApplySettings(&record);  // the driver holds them when the test starts
    if (TVOutTest(&record, &panel) == 0) {
        p::showErrorMessage(dialog, "ERROR", "ERROR");
    }
    state.controls->RefreshControls(record, panel);
    p::enableWindow(dialog, true);
    p::activateWindow(dialog);
}

intptr_t onCommand(p::WindowHandle dialog, int id) {
    switch (id) {
        case ctl::kOk:
            onOk(dialog);
            break;
        case ctl::kCancel:
            onCancel(dialog);
            break;
        case ctl::kOverscan:
        case ctl::kUnderscan:
            onScan(dialog, id);
            break;
        case ctl::kDefault:
            onDefault();
            break;
        case ctl::kTest:
            onTest(dialog);
            break;
        default:
            break;  // the output radios and check boxes are read when they are needed
    }
    return 1;
}

void onResolutionScroll() {
    const TVOutPanel& panel = *state.panel;
    int32_t n = state.controls->GetResolutionPosition();
    if (n < 0 || n >= panel.resolutionCount) {
        return;  // the slider's range keeps it within the table
    }
    TVOutStatus& left = state.workingSettings[state.currentIndex];
    state.controls->ReadControls(&left, panel);
    left.resolution = static_cast<uint16_t>(panel.resolutions[state.currentIndex].code);
    CopyCommonSettings(&left, state.workingSettings, panel.resolutionCount);
    state.currentIndex = n;
    state.controls->RefreshControls(state.workingSettings[n], panel);
}

void onPositionNotify(int id) {
    TVOutStatus& record = state.workingSettings[state.currentIndex];
    TVOutPosition& position = record.position[record.underscan == 0 ? 0 : 1];
    if (id == ctl::kVertical) {
        position.vertical = static_cast<uint16_t>(state.controls->GetVerticalPosition());
    } else if (id == ctl::kHorizontal) {
        position.horizontal = static_cast<uint16_t>(state.controls->GetHorizontalPosition());
    }
}

void onDestroy() {
    delete state.controls;
    state.controls = nullptr;
    delete state.panel;
    state.panel = nullptr;
}

}  // namespace

intptr_t TVOutDialogProc(p::WindowHandle dialog, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) {
    if (message == p::msg::kInitDialog) {
        return onInitDialog(dialog);
    }
    if (message == p::msg::kDestroy) {
        onDestroy();
        return 1;
    }
    if (state.panel == nullptr || state.controls == nullptr) {
        return 0;  // the dialog could not set itself up and is ending
    }
    switch (message) {
        case p::msg::kCommand:
            return onCommand(dialog, static_cast<int>(p::lowWord(wParam)));
        case p::msg::kHScroll:
            if (reinterpret_cast<p::WindowHandle>(lParam) ==
                    p::dialogItem(dialog, ctl::kResolution) &&
                p::lowWord(wParam) != p::kTbEndTrack) {
                onResolutionScroll();
            }
            return 1;
        case p::msg::kNotify:
            onPositionNotify(static_cast<int>(wParam));
            return 1;
        case p::msg::kHelp:
            return OnDialogHelp(lParam);
        case p::msg::kPaint:
            return OnDialogPaint(dialog);
        case p::msg::kKeyDown:
            return 1;
        default:
            return 0;
    }
}

}  // namespace vext

void vext::platform::moduleAttached(ModuleHandle module) {
    vext::TVOutModuleState& state = vext::moduleState();
    if (state.moduleHandle == nullptr) {
        state.moduleHandle = module;
    }
}

int32_t TVOutControl(vext::platform::WindowHandle parent) {
    vext::TVOutModuleState& state = vext::moduleState();
    if (state.moduleHandle == nullptr || state.dialogOpen != 0) {
        return 0;
    }
    state.dialogOpen = 1;
    vext::platform::runModalDialog(state.moduleHandle, vext::kSettingsDialogId, parent,
                                   vext::TVOutDialogProc);
    state.dialogOpen = 0;
    return 1;
}
