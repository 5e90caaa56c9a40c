#include "panel/test/test_window.h"

#include <cstring>

#include "panel/test/test_screen.h"
#include "panel/tvout_dialog.h"
#include "platform/test_window.h"

namespace vext {

namespace p = platform;

namespace {

TVOutTestState state;

constexpr int32_t kArrowKick = 16;

void freeRunObjects() {
    delete state.menu;
    state.menu = nullptr;
    for (TVOutMenuItem*& item : state.menuItems) {
        delete item;
        item = nullptr;
    }
    delete state.positionGrid;
    state.positionGrid = nullptr;
    for (TVOutPositionArrow*& arrow : state.positionArrows) {
        delete arrow;
        arrow = nullptr;
    }
}

TVOutMenuItem* selectedItem() {
    return state.menuItems[state.menu->current];
}

// Moves one coordinate of the position pair in force by delta within its limits.
void movePosition(uint16_t* field, int32_t delta, const SliderLimits& limits) {
    const int32_t moved = static_cast<int16_t>(static_cast<uint16_t>(*field + delta));
    if (moved < limits.minimum) {
        *field = static_cast<uint16_t>(limits.minimum);
    } else if (moved > limits.maximum) {
        *field = static_cast<uint16_t>(limits.maximum);
    } else {
        *field = static_cast<uint16_t>(moved);
    }
}

void leavePositionMode() {
    state.positionGrid->Collapse();
    state.menuItems[kItemPosition]->value = 0;
    state.positionMode = 0;
}

void positionKey(p::WindowHandle, uint32_t key) {
    TVOutPosition& position = state.testRecord.position[state.testRecord.underscan != 0 ? 1 : 0];
    const TVOutPanel& panel = *state.testPanel;
    switch (key) {
        case p::kVkUp:
            state.positionArrows[0]->Kick(kArrowKick);
            movePosition(&position.vertical, -1, panel.verticalLimits);
            break;
        case p::kVkDown:
            state.positionArrows[1]->Kick(kArrowKick);
            movePosition(&position.vertical, 1, panel.verticalLimits);
            break;
        case p::kVkLeft:
            state.positionArrows[2]->Kick(kArrowKick);
            movePosition(&position.horizontal, -1, panel.horizontalLimits);
            break;
        case p::kVkRight:
            state.positionArrows[3]->Kick(kArrowKick);
            movePosition(&position.horizontal, 1, panel.horizontalLimits);
            break;
        case p::kVkReturn:
        case p::kVkEscape:
            leavePositionMode();
            return;
        default:
            return;
    }
    panel.ApplySettings(&state.testRecord);
}

void menuKey(p::WindowHandle window, uint32_t key) {
    const TVOutPanel& panel = *state.testPanel;
    switch (key) {
        case p::kVkUp:
            state.menu->SelectPrevious();
            break;
        case p::kVkDown:
            state.menu->SelectNext();
            break;
        case p::kVkRight:
        case p::kVkLeft: {
            TVOutMenuItem* item = selectedItem();
            const bool fine = p::keyIsDown(p::kVkControl);
            if (key == p::kVkRight) {
                fine ? item->IncreaseFine() : item->Increase();
            } else {
                fine ? item->DecreaseFine() : item->Decrease();
            }
            StoreMenuValue(&state.testRecord, state.menu->current, item->value);
            panel.ApplySettings(&state.testRecord);
            break;
        }
        case p::kVkReturn:
            if (state.menu->current == kItemPosition) {
                state.positionGrid->Expand();
                state.menuItems[kItemPosition]->value = -1;
                state.positionMode = 1;
            } else if (state.menu->current == kItemOk) {
                std::memcpy(state.callerRecord, &state.testRecord, sizeof(TVOutStatus));
                p::postMessage(window, p::msg::kClose, 0, 0);
            }
            break;
        case p::kVkEscape:
            panel.ApplySettings(state.callerRecord);
            p::postMessage(window, p::msg::kClose, 0, 0);
            break;
        default:
            break;
    }
}

}  // namespace

TVOutTestState& testState() {
    return state;
}

void LoadMenuValues(const TVOutStatus* record) {
    state.menuItems[kItemDotCrawl]->SetValue(record->dotCrawl);
    state.menuItems[kItemFlickerFilter]->SetValue(record->flickerFilter);
    state.menuItems[kItemContrast]->SetValue(record->contrast);
    state.menuItems[kItemBrightness]->SetValue(record->brightness);
}

void StoreMenuValue(TVOutStatus* record, int32_t index, int32_t value) {
    const uint16_t v = static_cast<uint16_t>(value);
    switch (index) {
        case kItemDotCrawl:
            record->dotCrawl = v;
            break;
        case kItemFlickerFilter:
            record->flickerFilter = v;
            break;
        case kItemContrast:
            record->contrast = v;
            break;
        case kItemBrightness:
            record->brightness = v;
            break;
        default:
            break;  // "Position..." and "OK" have no field
    }
}

p::WindowHandle CreateTestWindow() {
    const p::ModuleHandle module = moduleState().moduleHandle;
    if (!p::registerWindowClass(module, kTestWindowClass, TestWindowProc)) {
        return nullptr;
    }
    p::WindowHandle window = p::createScreenWindow(module, kTestWindowClass, kTestWindowClass);
    if (window == nullptr) {
        p::unregisterWindowClass(module, kTestWindowClass);
        return nullptr;
    }
    p::drawCentredText(window, kTestNotice);
    p::showWindow(window);
    return window;
}

void RenderTestFrame() {
    TVOutTestDisplay& display = *state.testDisplay;
    const int32_t W = display.width;
    const int32_t H = display.height;
    display.backBuffer->copy({0, 0, W, H}, display.background, {0, 0, W, H}, false);
    for (TVOutMenuItem* item : state.menuItems) {
        item->Draw(display.backBuffer);
    }
    state.positionGrid->Draw(display.backBuffer);
    if (state.positionGrid->IsComplete()) {
        for (TVOutPositionArrow* arrow : state.positionArrows) {
            arrow->Draw(display.backBuffer);
        }
    }
    if (display.primary->flip() == p::kDisplaySurfaceLost) {
        display.RestoreSurfaces();
        BuildTestScreen(&display, state.testPanel, 1);
    }
}

intptr_t TestWindowProc(p::WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) {
    switch (message) {
        case p::msg::kCreate:
            return 0;
        case p::msg::kClose:
            state.running = 0;
            return p::defaultWindowProc(window, message, wParam, lParam);
        case p::msg::kActivateApp:
            return 0;
        case p::msg::kKeyDown: {
            // Keys before the run's objects exist (while the device opens) do nothing.
            if (state.menu == nullptr) {
                return 0;
            }
            const uint32_t key = p::lowWord(wParam);
            if (state.positionMode != 0) {
                positionKey(window, key);
            } else if ((lParam & p::kKeyWasDown) == 0) {
                menuKey(window, key);
            }
            return 0;
        }
        default:
            return p::defaultWindowProc(window, message, wParam, lParam);
    }
}

int32_t TVOutTest(TVOutStatus* record, const TVOutPanel* panel) {
    state.testPanel = panel;
    state.callerRecord = record;
    std::memcpy(&state.testRecord, record, sizeof(TVOutStatus));
    state.positionMode = 0;

    state.testDisplay = new TVOutTestDisplay();
    searchedDriverName = panel->driverName;

    p::WindowHandle window = CreateTestWindow();
    if (window == nullptr) {
        delete state.testDisplay;
        state.testDisplay = nullptr;
        return 0;
    }
    state.window = window;

    // A record of no resolution of the panel cannot be tested: no mode follows from it.
    const int32_t index = panel->IndexOfResolution(record->resolution);
    int32_t opened = 0;
    if (index >= 0) {
        const PanelResolution& e = panel->resolutions[index];
        opened = state.testDisplay->Open(window, FindBoardDevice, e.width, e.height, e.depth);
    }
    if (opened == 0) {
        state.testDisplay->Close();
        delete state.testDisplay;
        state.testDisplay = nullptr;
        p::destroyWindow(window);
        p::unregisterWindowClass(moduleState().moduleHandle, kTestWindowClass);
        state.window = nullptr;
        return 0;
    }
    BuildTestScreen(state.testDisplay, panel, 0);
    LoadMenuValues(&state.testRecord);
    state.menu = new TVOutMenu(state.menuItems, 6, kItemOk);

    state.running = 1;
    while (state.running == 1) {
        if (!p::dispatchWaitingMessage()) {
            RenderTestFrame();
        }
    }

    state.testDisplay->Close();
    delete state.testDisplay;
    state.testDisplay = nullptr;
    freeRunObjects();
    p::unregisterWindowClass(moduleState().moduleHandle, kTestWindowClass);
    state.window = nullptr;
    return 1;
}

}  // namespace vext
