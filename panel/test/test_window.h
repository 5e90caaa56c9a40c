// The test mode: a full-screen window over the desktop, the board showing the test picture and
// the menu, keys that change the settings as they are pressed, Enter on "OK" to keep them and
// Esc to go back to those the test started with.
#pragma once

#include <cstdint>

#include "driver/settings.h"
#include "panel/test/menu_items.h"
#include "panel/test/test_display.h"
#include "panel/tvout_panel.h"
#include "platform/dialog.h"

namespace vext {

// The state of the one test run at a time.
struct TVOutTestState {
    const TVOutPanel* testPanel;
    TVOutStatus* callerRecord;
    TVOutStatus testRecord;  // vertical positions in slider sense
    TVOutTestDisplay* testDisplay;
    TVOutMenuItem* menuItems[6];
    TVOutPositionGrid* positionGrid;
    TVOutPositionArrow* positionArrows[4];  // up, down, left, right
    TVOutMenu* menu;
    platform::WindowHandle window;
    int32_t running;
    int32_t positionMode;
};

TVOutTestState& testState();

// Menu item indices.
constexpr int32_t kItemDotCrawl = 0;
constexpr int32_t kItemFlickerFilter = 1;
constexpr int32_t kItemContrast = 2;
constexpr int32_t kItemBrightness = 3;
constexpr int32_t kItemPosition = 4;
constexpr int32_t kItemOk = 5;

constexpr const char* kTestWindowClass = "TVOUTTEST";
constexpr const char* kTestNotice = "Now testing.... Push [ESC] to return (without saving)";

// Runs one test of record's resolution; returns when it is over. 1 when it ran, whichever way
// it ended; 0 when it did not start.
int32_t TVOutTest(TVOutStatus* record, const TVOutPanel* panel);
platform::WindowHandle CreateTestWindow();
void RenderTestFrame();
intptr_t TestWindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam);
// Items 0 to 3 from a record's fields.
void LoadMenuValues(const TVOutStatus* record);
// The low 16 bits of value into the field of item index; nothing for the other items.
void StoreMenuValue(TVOutStatus* record, int32_t index, int32_t value);

}  // namespace vext
