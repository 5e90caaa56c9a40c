// The test mode for real under wine64 on a virtual X display of 640 x 480 at 16 bits:
// - the Test button of vexttune.dll's dialog where no DirectDraw driver is named "VEXTA" (as
//   under wine): the "ERROR" message box, no test window or class left behind, twice;
// - the display device on wine's own DirectDraw driver ("display"): exclusive mode at
//   640 x 480 x 16, the test screen built from vexttune.dll's bitmaps, frames flipped, and the
//   mode given back.
// Pictures (BMP) go to the directory given as the argument; the test script makes PNG files.
//   test_testmode_win OUTPUT_DIR
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/test/menu_items.h"
#include "panel/test/test_screen.h"
#include "panel/test/test_window.h"
#include "panel/tvout_dialog.h"
#include "tests/win/screen_capture.h"
#include "tests/win/wintest.h"

namespace {

const char* const kDriverKey =
    "hardware\\DirectDrawDrivers\\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2";

std::string outputDir = ".";

using TVOutControlFn = int32_t(__cdecl*)(HWND);

bool setDriverName(const char* name) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriverKey, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        return false;
    }
    rc = RegSetValueExA(key, "DriverName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                        static_cast<DWORD>(std::strlen(name) + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string windowText(HWND window) {
    char buf[256] = {};
    GetWindowTextA(window, buf, sizeof buf);
    return buf;
}

std::string className(HWND window) {
    char buf[64] = {};
    GetClassNameA(window, buf, sizeof buf);
    return buf;
}

// ---- the failure path through the dialog ----

HMODULE panelModule = nullptr;
HWND dialogWindow = nullptr;
int errorBoxes = 0;
bool dialogDisabledDuringBox = false;
bool testWindowDuringBox = true;
bool testClassDuringBox = true;

BOOL CALLBACK findStaticText(HWND child, LPARAM found) {
    if (className(child) == "Static" && windowText(child) == "ERROR") {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findErrorBox(HWND window, LPARAM found) {
    if (className(window) == "#32770" && IsWindowVisible(window) && windowText(window) == "ERROR") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findSettingsDialog(HWND window, LPARAM found) {
    if (className(window) == "#32770" && IsWindowVisible(window) && windowText(window) == "TVOUT") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the message box's loop.
void CALLBACK onErrorTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findErrorBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
        return;
    }
    KillTimer(nullptr, id);
    ++errorBoxes;
    bool hasText = false;
    EnumChildWindows(box, findStaticText, reinterpret_cast<LPARAM>(&hasText));
    EXPECT_TRUE(hasText);
    dialogDisabledDuringBox = IsWindowEnabled(dialogWindow) == FALSE;
    testWindowDuringBox = FindWindowA("TVOUTTEST", nullptr) != nullptr;
    WNDCLASSA wc;
    testClassDuringBox = GetClassInfoA(panelModule, "TVOUTTEST", &wc) != FALSE;
    if (errorBoxes == 1) {
        UpdateWindow(box);
        Sleep(300);
        RECT r;
        GetWindowRect(box, &r);
        EXPECT_TRUE(saveScreenRect(r, outputDir + "/testmode-error.bmp"));
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Runs inside the settings dialog's loop: Test twice, then Cancel.
void CALLBACK onDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findSettingsDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, id);
    dialogWindow = dialog;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1000)) != FALSE);
    for (int run = 1; run <= 2; ++run) {
        SetTimer(nullptr, 0, 100, onErrorTimer);
        SendDlgItemMessageA(dialog, 1000, BM_CLICK, 0, 0);
        EXPECT_EQ(errorBoxes, run);
        EXPECT_TRUE(dialogDisabledDuringBox);
        EXPECT_FALSE(testWindowDuringBox);
        EXPECT_FALSE(testClassDuringBox);
        EXPECT_TRUE(IsWindowEnabled(dialog) != FALSE);
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

TEST(TestModeWin, WithoutTheBoardsDirectDrawDriverTestShowsError) {
    ASSERT_TRUE(setDriverName("VEXTA"));  // the button is enabled, but DirectDraw has no VEXTA
    panelModule = LoadLibraryA("vexttune.dll");
    ASSERT_TRUE(panelModule != nullptr);
    auto control = reinterpret_cast<TVOutControlFn>(
        reinterpret_cast<void*>(GetProcAddress(panelModule, "TVOutControl")));
    ASSERT_TRUE(control != nullptr);
    SetTimer(nullptr, 0, 200, onDialogTimer);
    EXPECT_EQ(control(nullptr), 1);
    EXPECT_EQ(errorBoxes, 2);
    FreeLibrary(panelModule);
    panelModule = nullptr;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "hardware\\DirectDrawDrivers");
}

// ---- the display device on wine's DirectDraw ----

TEST(TestModeWin, DirectDrawDeviceShowsTheTestScreen) {
    HMODULE module = LoadLibraryA("vexttune.dll");  // the bitmaps are its resources
    ASSERT_TRUE(module != nullptr);
    vext::moduleState().moduleHandle = module;
    vext::TVOutPanel panel;
    vext::TVOutTestState& state = vext::testState();
    state.testPanel = &panel;
    panel.ReadSettings(&state.testRecord, 7);

    HWND window = static_cast<HWND>(vext::CreateTestWindow());
    ASSERT_TRUE(window != nullptr);
    vext::TVOutTestDisplay display;
    vext::searchedDriverName = "display";  // wine's primary DirectDraw driver
    const int32_t opened = display.Open(window, vext::FindBoardDevice, 640, 480, 16);
    EXPECT_EQ(opened, 1);
    if (opened == 1) {
        state.testDisplay = &display;
        EXPECT_EQ(vext::BuildTestScreen(&display, &panel, 0), 1);
        state.testRecord.flickerFilter = 1;
        vext::LoadMenuValues(&state.testRecord);
        vext::TVOutMenu menu(state.menuItems, 6, vext::kItemOk);
        state.menu = &menu;
        for (int frame = 0; frame < 90; ++frame) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&m);
            }
            vext::RenderTestFrame();
        }
        EXPECT_TRUE(saveScreenRect({0, 0, 640, 480}, outputDir + "/testmode-screen.bmp"));
        // What the screen shows: the logo's dark face from bitmap 110, drawn through a device
        // context of the surface; the grey ramp's black start and white end, colour fills.
        HDC screen = GetDC(nullptr);
        const COLORREF logo = GetPixel(screen, 502, 27);
        const COLORREF black = GetPixel(screen, 0, 300);
        const COLORREF white = GetPixel(screen, 212, 300);
        ReleaseDC(nullptr, screen);
        auto about = [](COLORREF c, int r, int g, int b) {
            return std::abs(GetRValue(c) - r) <= 8 && std::abs(GetGValue(c) - g) <= 8 &&
                   std::abs(GetBValue(c) - b) <= 8;
        };
        EXPECT_TRUE(about(logo, 0x30, 0x30, 0x30));
        EXPECT_TRUE(about(black, 0, 0, 0));
        EXPECT_TRUE(about(white, 0xFF, 0xFB, 0xFF));
        if (!about(logo, 0x30, 0x30, 0x30)) {
            std::printf("  logo pixel %06lx\n", static_cast<unsigned long>(logo));
        }
        state.menu = nullptr;
        for (vext::TVOutMenuItem*& item : state.menuItems) {
            delete item;
            item = nullptr;
        }
        delete state.positionGrid;
        state.positionGrid = nullptr;
        for (vext::TVOutPositionArrow*& arrow : state.positionArrows) {
            delete arrow;
            arrow = nullptr;
        }
        state.testDisplay = nullptr;
    }
    EXPECT_EQ(display.Close(), 1);
    DestroyWindow(window);
    UnregisterClassA("TVOUTTEST", module);
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) != FALSE);
    EXPECT_EQ(mode.dmPelsWidth, 640u);
    EXPECT_EQ(mode.dmBitsPerPel, 16u);
    FreeLibrary(module);
}

int main(int argc, char** argv) {
    if (argc > 1) {
        outputDir = argv[1];
    }
    InitCommonControls();
    return wintest::runAll();
}
