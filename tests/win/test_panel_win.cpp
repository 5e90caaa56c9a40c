// The settings panel for real: vexttune.dll loaded with vextlink.dll beside it, dialog 101 from
// its resources in English and in Japanese, with real trackbars, storing into the registry.
// Each run leaves a picture of the dialog (panel-LANG.bmp) in the directory given as the first
// argument; the test script turns it into a PNG.
//   test_panel_win OUTPUT_DIR | test_panel_win --prepare-display
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "panel/resources/dialog101.h"
#include "platform/dialog_template.h"
#include "tests/win/screen_capture.h"
#include "tests/win/wintest.h"

namespace {

const char* const kRoot = "Software\\3Vav Interactive\\Dudezi2\\TVOut";
const char* const kDriverKey =
    "hardware\\DirectDrawDrivers\\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2";

using TVOutControlFn = int32_t(__cdecl*)(HWND);

std::string outputDir = ".";

struct Library {
    HMODULE module = LoadLibraryA("vexttune.dll");
    ~Library() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    TVOutControlFn control() const {
        return bindExport<TVOutControlFn>(
            reinterpret_cast<void*>(GetProcAddress(module, "TVOutControl")));
    }
};

// The texts of dialog 101 in template order, as UTF-16: what a person reads on the screen.
// Icons have none of their own.
const wchar_t* const kEnglishTexts[] = {nullptr,
                                        nullptr,
                                        L"OK",
                                        L"Cancel",
                                        L"Slider1",
                                        L"Slider2",
                                        L"Slider3",
                                        L"&Overscan",
                                        L"&Underscan",
                                        L"Slider1",
                                        L"Slider2",
                                        L"&SVideo",
                                        L"&Composite",
                                        L"&Both",
                                        L"TvOnl&y",
                                        L"FreezeDotCrawl",
                                        L"&FlickerFilter",
                                        L"&Default",
                                        L"&Test",
                                        L"Position",
                                        L"Output",
                                        L"Scan",
                                        L"Contrast&&Brightness",
                                        L"",
                                        L"640 x 480",
                                        L"",
                                        L"",
                                        L"Reso"};
const wchar_t* const kJapaneseTexts[] = {
    nullptr,
    nullptr,
    L"OK",
    L"\xFF77\xFF6C\xFF9D\xFF7E\xFF99",  // ｷｬﾝｾﾙ
    L"Slider1",
    L"Slider2",
    L"Slider3",
    L"\xFF75\xFF70\xFF8A\xFF9E\xFF70\xFF7D\xFF77\xFF6C\xFF9D(&O)",  // ｵｰﾊﾞｰｽｷｬﾝ(&O)
    L"\xFF71\xFF9D\xFF80\xFF9E\xFF70\xFF7D\xFF77\xFF6C\xFF9D(&U)",  // ｱﾝﾀﾞｰｽｷｬﾝ(&U)
    L"Slider1",
    L"Slider2",
    L"Svideo(&S)",
    L"\xFF7A\xFF9D\xFF8E\xFF9F\xFF7C\xFF9E\xFF6F\xFF84(&C)",  // ｺﾝﾎﾟｼﾞｯﾄ(&C)
    L"Svideo+\xFF7A\xFF9D\xFF8E\xFF9F\xFF7C\xFF9E\xFF6F\xFF84(&B)",
    L"TV\x306E\x307F\x306B\x51FA\x529B(&Y)",  // TVのみに出力(&Y)
    L"\xFF84\xFF9E\xFF6F\xFF84\xFF78\xFF9B\xFF70\xFF99\x3092\x6B62\x3081\x308B",  // ﾄﾞｯﾄｸﾛｰﾙを止める
    L"\xFF8C\xFF98\xFF6F\xFF76\xFF8C\xFF68\xFF99\xFF80(&F)",  // ﾌﾘｯｶﾌｨﾙﾀ(&F)
    L"\x6A19\x6E96\x306B\x623B\x3059(&D)",                    // 標準に戻す(&D)
    L"\xFF83\xFF7D\xFF84(&T)",                                // ﾃｽﾄ(&T)
    L"\x4F4D\x7F6E\x8ABF\x6574",                              // 位置調整
    L"\x51FA\x529B",                                          // 出力
    L"\x8D70\x67FB",                                          // 走査
    L"\xFF7A\xFF9D\xFF84\xFF97\xFF7D\xFF84\x30FB\xFF8C\xFF9E\xFF97\xFF72\xFF84\xFF88\xFF7D",
    L"",
    L"640 x 480",
    L"",
    L"",
    L"\x89E3\x50CF\x5EA6\xFF1A",  // 解像度：
};

std::wstring text(HWND window) {
    wchar_t buf[256] = {};
    GetWindowTextW(window, buf, 256);
    return buf;
}

std::wstring className(HWND window) {
    wchar_t buf[64] = {};
    GetClassNameW(window, buf, 64);
    return buf;
}

std::wstring widen(const char* s) {
    wchar_t buf[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, s, -1, buf, 256);
    return buf;
}

std::string narrow(const std::wstring& s) {
    char buf[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

bool sameClass(const std::wstring& a, const char* b) {
    return _wcsicmp(a.c_str(), widen(b).c_str()) == 0;
}

std::string stored(const std::string& subkey, const char* name) {
    HKEY key = nullptr;
    std::string path = std::string(kRoot) + subkey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return "(no key)";
    }
    char buf[64] = {};
    DWORD size = sizeof buf;
    LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(buf) : std::string("(none)");
}

bool setDriverName(const char* name) {
    HKEY key = nullptr;
    // The system makes this key at start-up, in the volatile hardware tree.
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriverKey, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        std::printf("  cannot create the display driver's key: %ld\n", rc);
        return false;
    }
    rc = RegSetValueExA(key, "DriverName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                        static_cast<DWORD>(std::strlen(name) + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// The check that runs inside the modal dialog, from a timer of the thread.
void (*insideDialog)(HWND dialog) = nullptr;
HWND seenDialog = nullptr;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    if (className(window) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;  // not shown yet
    }
    KillTimer(nullptr, id);
    seenDialog = dialog;
    UpdateWindow(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    insideDialog(dialog);
    if (IsWindow(dialog)) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);  // a failed check must not leave it open
    }
}

int32_t runDialog(TVOutControlFn control, void (*check)(HWND)) {
    insideDialog = check;
    seenDialog = nullptr;
    SetTimer(nullptr, 0, 200, onTimer);
    return control(nullptr);
}

// Every control as the template table gives it, read back from the real dialog.
void checkControls(HWND dialog, uint16_t language, const wchar_t* const* texts) {
    const vext::platform::DialogTemplate* t = nullptr;
    for (int i = 0; i < vext::Dialog101TemplateCount(); ++i) {
        if (vext::Dialog101Templates()[i].language == language) {
            t = &vext::Dialog101Templates()[i];
        }
    }
    if (!EXPECT_TRUE(t != nullptr)) {
        return;
    }
    EXPECT_TRUE(text(dialog) == widen(t->caption));
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(dialog, GWL_STYLE)) & t->style, t->style);

    int i = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT), ++i) {
        if (!EXPECT_TRUE(i < t->itemCount)) {
            return;
        }
        const vext::platform::DialogItemTemplate& item = t->items[i];
        EXPECT_EQ(static_cast<int16_t>(GetDlgCtrlID(c)), item.id);
        if (!EXPECT_TRUE(sameClass(className(c), item.className))) {
            std::printf("  control %d: class %s\n", item.id, narrow(className(c)).c_str());
        }
        if (texts[i] != nullptr && !EXPECT_TRUE(text(c) == texts[i])) {
            std::printf("  control %d: text '%s'\n", item.id, narrow(text(c)).c_str());
        }
        const uint32_t shown = static_cast<uint32_t>(GetWindowLongA(c, GWL_STYLE));
        // The dialog manager moves WS_TABSTOP to the checked radio button of a group.
        const bool radio =
            (item.style & 0xF) == BS_AUTORADIOBUTTON && sameClass(className(c), "BUTTON");
        const uint32_t mask = 0xFFFF | WS_CHILD | WS_VISIBLE | WS_GROUP | (radio ? 0 : WS_TABSTOP);
        if (!EXPECT_EQ(shown & mask, item.style & mask)) {
            std::printf("  control %d: style %08x\n", item.id, shown);
        }
        // Position and size are converted each on its own, as the dialog manager does.
        RECT want{item.x, item.y, item.cx, item.cy};
        MapDialogRect(dialog, &want);
        want.right += want.left;
        want.bottom += want.top;
        RECT got{};
        GetWindowRect(c, &got);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        if (item.iconId != 0) {
            EXPECT_TRUE(SendMessageA(c, STM_GETICON, 0, 0) != 0);  // the icon was found
        } else {
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
        }
    }
    EXPECT_EQ(i, t->itemCount);
}

struct Slider {
    int id;
    LRESULT min, max, position, ticks;
};

void checkSliders(HWND dialog, const Slider (&sliders)[5]) {
    for (const Slider& s : sliders) {
        HWND c = GetDlgItem(dialog, s.id);
        EXPECT_EQ(SendMessageA(c, TBM_GETRANGEMIN, 0, 0), s.min);
        EXPECT_EQ(SendMessageA(c, TBM_GETRANGEMAX, 0, 0), s.max);
        EXPECT_EQ(SendMessageA(c, TBM_GETPOS, 0, 0), s.position);
        // Ticks every `ticks` steps from the minimum, and one at the maximum.
        const LRESULT span = s.max - s.min;
        EXPECT_EQ(SendMessageA(c, TBM_GETNUMTICS, 0, 0),
                  span / s.ticks + 1 + (span % s.ticks != 0 ? 1 : 0));
    }
}

struct CleanKeys {
    CleanKeys() { clean(); }
    ~CleanKeys() { clean(); }
    static void clean() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "hardware\\DirectDrawDrivers");
    }
};

bool setUserValue(const wchar_t* path, const wchar_t* name, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Wine's settings for the pictures, which later processes of the prefix pick up. There is no
// window manager on the virtual display, so wine draws the captions itself; and the Japanese
// dialog and caption fonts, which wine lacks, are replaced by a font with the same Latin and
// Japanese glyphs.
bool prepareDisplay() {
    return setUserValue(L"Software\\Wine\\X11 Driver", L"Decorated", L"N") &&
           setUserValue(L"Software\\Wine\\Fonts\\Replacements",
                        L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",  // ＭＳ Ｐゴシック
                        L"IPAPGothic") &&
           setUserValue(L"Software\\Wine\\Fonts\\Replacements", L"MS UI Gothic", L"IPAPGothic");
}

}  // namespace

// The dialog's language is the system's: the test script runs this program once on an English
// and once on a Japanese system (wine takes it from the locale), and each run checks its own.
bool systemIs(LANGID language, const char* name) {
    if (GetUserDefaultUILanguage() == language) {
        return true;
    }
    std::printf("  (not a%s system: nothing to check here)\n", name);
    return false;
}

TEST(PanelWin, EnglishDialogFromTheResourcesStoresOnOk) {
    if (!systemIs(0x0409, "n English")) {
        return;
    }
    CleanKeys clean;
    Library lib;
    ASSERT_TRUE(lib.module != nullptr);
    TVOutControlFn control = lib.control();
    ASSERT_TRUE(control != nullptr);

    EXPECT_EQ(
        runDialog(control,
                  [](HWND dialog) {
                      checkControls(dialog, vext::platform::kLangEnglishUS, kEnglishTexts);
                      checkSliders(dialog, {{1011, 0, 3, 2, 1},
                                            {1007, 0, 7, 3, 1},
                                            {1008, 90, 208, 127, 11},
                                            {1016, 0, 255, 32, 16},
                                            {1015, 0, 255, 255, 16}});
                      EXPECT_EQ(IsDlgButtonChecked(dialog, 1003), static_cast<UINT>(BST_CHECKED));
                      EXPECT_EQ(IsDlgButtonChecked(dialog, 1009), static_cast<UINT>(BST_CHECKED));
                      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1000)));
                      EXPECT_TRUE(saveWindowPicture(dialog, outputDir + "/panel-en.bmp"));

                      // Contrast 6 and composite at 640 x 480, then on to 800 x 600.
                      SendDlgItemMessageA(dialog, 1007, TBM_SETPOS, TRUE, 6);
                      SendDlgItemMessageA(dialog, 1002, BM_CLICK, 0, 0);
                      HWND resolution = GetDlgItem(dialog, 1011);
                      SendMessageA(resolution, TBM_SETPOS, TRUE, 3);
                      SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3),
                                   reinterpret_cast<LPARAM>(resolution));
                      EXPECT_TRUE(text(GetDlgItem(dialog, 1012)) == L"800 x 600");
                      EXPECT_EQ(SendDlgItemMessageA(dialog, 1007, TBM_GETPOS, 0, 0), 6);
                      SendDlgItemMessageA(dialog, 1010, BM_CLICK, 0, 0);
                      SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                  }),
        1);
    EXPECT_TRUE(seenDialog != nullptr);
    EXPECT_FALSE(IsWindow(seenDialog));
    EXPECT_STREQ(stored("", "DIZA2_TVOUT_CONTRAST").c_str(), "6");
    EXPECT_STREQ(stored("", "DIZA2_TVOUT_OUTDEV").c_str(), "2");
    EXPECT_STREQ(stored("\\800x600", "DIZA2_TVOUT_UNDERSCAN").c_str(), "1");
    EXPECT_STREQ(stored("\\640x480", "DIZA2_TVOUT_UNDERSCAN").c_str(), "0");
    EXPECT_STREQ(stored("\\512x384\\OverScan", "DIZA2_TVOUT_VERTICAL").c_str(), "0");
}

TEST(PanelWin, JapaneseDialogFromTheResourcesAndCancel) {
    if (!systemIs(0x0411, " Japanese")) {
        return;
    }
    CleanKeys clean;
    ASSERT_TRUE(setDriverName("VEXTA"));
    Library lib;
    ASSERT_TRUE(lib.module != nullptr);
    TVOutControlFn control = lib.control();
    ASSERT_TRUE(control != nullptr);

    EXPECT_EQ(runDialog(control,
                        [](HWND dialog) {
                            checkControls(dialog, vext::platform::kLangJapanese, kJapaneseTexts);
                            checkSliders(dialog, {{1011, 0, 3, 2, 1},
                                                  {1007, 0, 7, 3, 1},
                                                  {1008, 90, 208, 127, 11},
                                                  {1016, 0, 255, 32, 16},
                                                  {1015, 0, 255, 255, 16}});
                            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1000)));
                            EXPECT_TRUE(saveWindowPicture(dialog, outputDir + "/panel-ja.bmp"));
                            SendDlgItemMessageA(dialog, 1008, TBM_SETPOS, TRUE, 200);
                            SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
                        }),
              1);
    EXPECT_TRUE(seenDialog != nullptr);
    // Cancel stores what was read at the start: the defaults.
    EXPECT_STREQ(stored("", "DIZA2_TVOUT_BRIGHTNESS").c_str(), "127");
    EXPECT_STREQ(stored("\\800x600\\UnderScan", "DIZA2_TVOUT_HORIZONTAL").c_str(), "62");
}

TEST(PanelWin, ASecondCallInsideTheDialogReturnsZero) {
    CleanKeys clean;
    Library lib;
    ASSERT_TRUE(lib.module != nullptr);
    static TVOutControlFn control = lib.control();
    static int32_t inner = -1;
    EXPECT_EQ(runDialog(control,
                        [](HWND dialog) {
                            inner = control(nullptr);
                            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                        }),
              1);
    EXPECT_EQ(inner, 0);
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--prepare-display") == 0) {
        return prepareDisplay() ? 0 : 1;
    }
    if (argc > 1) {
        outputDir = argv[1];
    }
    InitCommonControls();
    return wintest::runAll();
}
