// Drives the real vextsetup.exe under wine as a user would: finds its window, checks what it
// shows, presses its buttons, and then reads back what it installed and registered.
//   setup_driver.exe refuse|refuse-western MEDIUM_DIR ORIGINALS_DIR ARTIFACT_DIR
//   setup_driver.exe install MEDIUM_DIR ORIGINALS_DIR ARTIFACT_DIR
//   setup_driver.exe damaged MEDIUM_DIR ORIGINALS_DIR ARTIFACT_DIR
// "refuse" expects the system to say it is Windows 98 (and "refuse-western" a western code
// page besides); the others expect Windows NT, and
// "damaged" a medium that lost vextpagj.hl_ and has viziza.sy_ cut short after an installation.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "setup/copy_table.h"
#include "tests/win/screen_capture.h"
#include "tests/win/wintest.h"

namespace {

std::string gMode;
std::string gMedium;
std::string gOriginals;
std::string gArtifacts;

const wchar_t* const kCaption = L"Vextaro ｾｯﾄｱｯﾌﾟ";
const wchar_t* const kRestartQuestion =
    L"ｾｯﾄｱｯﾌﾟを完了するには、再起動が必要です。\n今すぐ再起動しますか?";
const wchar_t* const kNotWindowsNT =
    L"このｾｯﾄｱｯﾌﾟはWindowsNT4.0用です。Windows98/95では動作しません。\n"
    L"Windows98/95では、ﾊｰﾄﾞｳｪｱのﾌﾟﾛﾊﾟﾃｨからｲﾝｽﾄｰﾙしてください。";
const wchar_t* const kNotice =
    L"Vextaro用ﾄﾞﾗｲﾊﾞをｲﾝｽﾄｰﾙします。\nｲﾝｽﾄｰﾙ後、再起動してください。\n"
    L"よろしければ [OK] ﾎﾞﾀﾝを押してください。";
constexpr int kMessageText = 0xFFFF;  // the text control of a message box

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring windowText(HWND window) {
    wchar_t buf[1024] = {};
    GetWindowTextW(window, buf, 1024);
    return buf;
}

std::wstring itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

std::string narrow(const std::wstring& text) {
    char buf[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

bool isDialogClass(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

// Waits up to 30 s for a visible dialog-class window of the thread that matches.
HWND waitForWindow(DWORD thread, const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    for (int tries = 0; tries < 300 && search.found == nullptr; ++tries) {
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                if (IsWindowVisible(window) && isDialogClass(window) && (*s->match)(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(100);
        }
    }
    return search.found;
}

// Saves what the screen shows of the window as a 24-bit BMP.
bool saveScreenshot(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(700);
    return saveWindowPicture(window, path);
}

// Presses a button as a click does.
void press(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

struct Process {
    PROCESS_INFORMATION info{};
    bool started = false;
    ~Process() {
        if (started) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info.hProcess, 99);
            }
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
    bool start() {
        std::string command = "\"" + gMedium + "\\vextsetup.exe\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 gMedium.c_str(), &startup, &info) != 0;
        return started;
    }
    // The exit code, or -1 when it does not end within 30 s.
    long finish() {
        if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<long>(code);
    }
};

void note(const std::string& what) {
    std::printf("  (%s)\n", what.c_str());
}

std::string windowsDirectory() {
    char buf[MAX_PATH] = {};
    GetWindowsDirectoryA(buf, MAX_PATH);
    return buf;
}

std::string installedPath(const vext::setup::CopyRecord& record) {
    return windowsDirectory() + "\\" + vext::setup::kDirectories[record.directory] +
           record.targetName;
}

// Type, data and the key's value and subkey counts, as the registry gives them back.
struct Stored {
    DWORD type = 0;
    std::string data;
};

Stored queryValue(HKEY root, const char* path, const char* name) {
    Stored s;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        s.data = "<no key>";
        return s;
    }
    char buf[256];
    DWORD size = sizeof buf;
    if (RegQueryValueExA(key, name, nullptr, &s.type, reinterpret_cast<BYTE*>(buf), &size) ==
        ERROR_SUCCESS) {
        s.data.assign(buf, size);
    } else {
        s.data = "<no value>";
    }
    RegCloseKey(key);
    return s;
}

std::pair<DWORD, DWORD> countsOf(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {99, 99};
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return {subkeys, values};
}

std::string text(const char* s) {
    return std::string(s, std::strlen(s) + 1);  // with its terminating zero
}

std::string dword(DWORD v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

}  // namespace

TEST(SetupUnderWine, SystemCodePage) {
    // Japanese, whose code page the texts are written in; "refuse-western" checks that they
    // read as well on a western system.
    EXPECT_EQ(GetACP(), gMode == "refuse-western" ? 1252u : 932u);
}

TEST(SetupUnderWine, RefusesWindows98) {
    if (gMode != "refuse" && gMode != "refuse-western") {
        return;
    }
    Process setup;
    ASSERT_TRUE(setup.start());
    HWND box = waitForWindow(setup.info.dwThreadId, [](HWND) { return true; });
    ASSERT_TRUE(box != nullptr);
    EXPECT_TRUE(windowText(box) == kCaption);
    EXPECT_TRUE(itemText(box, kMessageText) == kNotWindowsNT);
    EXPECT_TRUE(GetWindow(box, GW_OWNER) == nullptr);
    EXPECT_TRUE(GetDlgItem(box, IDOK) != nullptr);
    EXPECT_TRUE(GetDlgItem(box, IDNO) == nullptr);
    // The western run checks the text only: this prefix's fonts are set up for Japanese.
    if (gMode == "refuse") {
        EXPECT_TRUE(saveScreenshot(box, gArtifacts + "\\vextsetup-refusal.bmp"));
    }
    press(box, IDOK);
    EXPECT_EQ(setup.finish(), 0);
    EXPECT_EQ(readFile(installedPath(vext::setup::kCopyTable[4])), "<missing>");
}

TEST(SetupUnderWine, InstallsFromTheMedium) {
    if (gMode != "install") {
        return;
    }
    Process setup;
    ASSERT_TRUE(setup.start());
    HWND dialog =
        waitForWindow(setup.info.dwThreadId, [](HWND w) { return GetDlgItem(w, 1003) != nullptr; });
    ASSERT_TRUE(dialog != nullptr);

    // The dialog as the user sees it: Japanese texts, centred, topmost, no close box.
    EXPECT_TRUE(windowText(dialog) == kCaption);
    EXPECT_TRUE(itemText(dialog, 1003) == kNotice);
    EXPECT_TRUE(itemText(dialog, 1001) == L"ｷｬﾝｾﾙ");
    EXPECT_TRUE(itemText(dialog, 1004) == L"ｺﾋﾟｰ元：");
    EXPECT_TRUE(itemText(dialog, 1005) == L"ｺﾋﾟｰ先：");
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &own);
    EXPECT_EQ(own.left, ((desktop.right - desktop.left) - (own.right - own.left)) / 2);
    EXPECT_EQ(own.top, ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2);
    // Tab goes from one button to the other.
    HWND ok = GetDlgItem(dialog, 1000);
    EXPECT_TRUE(GetNextDlgTabItem(dialog, ok, FALSE) == GetDlgItem(dialog, 1001));
    EXPECT_TRUE(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 1001), FALSE) == ok);
    EXPECT_TRUE(saveScreenshot(dialog, gArtifacts + "\\vextsetup-dialog.bmp"));

    press(dialog, 1000);
    HWND question = waitForWindow(setup.info.dwThreadId, [dialog](HWND w) {
        return w != dialog && GetWindow(w, GW_OWNER) == dialog;
    });
    ASSERT_TRUE(question != nullptr);
    EXPECT_TRUE(windowText(question) == kCaption);
    if (!EXPECT_TRUE(itemText(question, kMessageText) == kRestartQuestion)) {
        note(std::string(narrow(itemText(question, kMessageText))));
    }
    EXPECT_TRUE(GetDlgItem(question, IDYES) != nullptr);
    // The last file's paths are still shown, lower-cased.
    std::string source = narrow(itemText(dialog, 1006));
    std::string target = narrow(itemText(dialog, 1007));
    if (!EXPECT_TRUE(source.size() > 12 && source.substr(source.size() - 12) == "\\ruvurez.sy_")) {
        note(std::string(source));
    }
    if (!EXPECT_TRUE(target.size() > 29 &&
                     target.substr(target.size() - 29) == "\\system32\\drivers\\ruvurez.sys")) {
        note(std::string(target));
    }
    std::string lowered = source + target;
    for (char& c : lowered) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    EXPECT_EQ(lowered, source + target);
    EXPECT_TRUE(saveScreenshot(question, gArtifacts + "\\vextsetup-restart.bmp"));
    press(question, IDNO);
    EXPECT_EQ(setup.finish(), 0);

    // Every file expanded byte for byte into the prefix's Windows directory.
    for (const vext::setup::CopyRecord& record : vext::setup::kCopyTable) {
        std::string original = readFile(gOriginals + "\\" + record.targetName);
        if (!EXPECT_TRUE(original != "<missing>")) {
            note(std::string(record.targetName));
        }
        if (!EXPECT_TRUE(readFile(installedPath(record)) == original)) {
            note(std::string(record.targetName));
        }
    }

    // The registry as the setup's table says.
    const char* const clsid = "CLSID\\{00BD7141-4A41-11d1-89EA-0020AFC43773}";
    const std::string server = std::string(clsid) + "\\InProcServer32";
    const struct {
        HKEY root;
        std::string key;
        const char* name;
        DWORD type;
        std::string data;
    } values[] = {
        {HKEY_CLASSES_ROOT, clsid, nullptr, REG_SZ, text("3Vav Dudezi2 Property Sheet")},
        {HKEY_CLASSES_ROOT, server, nullptr, REG_SZ, text("vextpage.dll")},
        {HKEY_CLASSES_ROOT, server, "ThreadingModel", REG_SZ, text("Apartment")},
        {HKEY_LOCAL_MACHINE,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Display\\shellex\\"
         "PropertySheetHandlers\\Dudezi2",
         nullptr, REG_SZ, text("{00BD7141-4A41-11d1-89EA-0020AFC43773}")},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\3Vav Interactive\\RUVurez", "EnableRUVurez", REG_DWORD,
         dword(1)},
    };
    for (const auto& v : values) {
        Stored s = queryValue(v.root, v.key.c_str(), v.name);
        if (!EXPECT_EQ(s.type, v.type)) {
            note(std::string(v.key));
        }
        if (!EXPECT_TRUE(s.data == v.data)) {
            note(v.key + " " + s.data);
        }
    }
    EXPECT_EQ(queryValue(HKEY_CLASSES_ROOT, clsid, nullptr).data.size(), 28u);
    EXPECT_EQ(queryValue(HKEY_CLASSES_ROOT, server.c_str(), "ThreadingModel").data.size(), 10u);
    for (const char* empty : {"SOFTWARE\\3Vav Interactive\\Dudezi2\\D3D",
                              "SOFTWARE\\3Vav Interactive\\Dudezi2\\Zizar"}) {
        if (!EXPECT_TRUE(countsOf(HKEY_LOCAL_MACHINE, empty) ==
                         std::make_pair(DWORD{0}, DWORD{0}))) {
            note(std::string(empty));
        }
    }
    for (const char* service : {"viziza", "dudiz", "RUVurez"}) {
        std::string key = std::string("SYSTEM\\CurrentControlSet\\Services\\") + service;
        if (!EXPECT_TRUE(countsOf(HKEY_LOCAL_MACHINE, key.c_str()).second == 4u)) {
            note(std::string(service));
        }
        EXPECT_TRUE(queryValue(HKEY_LOCAL_MACHINE, key.c_str(), "Type").data == dword(1));
        EXPECT_TRUE(queryValue(HKEY_LOCAL_MACHINE, key.c_str(), "Start").data == dword(2));
        Stored group = queryValue(HKEY_LOCAL_MACHINE, key.c_str(), "Group");
        EXPECT_EQ(group.type, static_cast<DWORD>(REG_SZ));
        if (!EXPECT_TRUE(group.data == text("Extended base"))) {
            note(std::string(service));
        }
        EXPECT_TRUE(queryValue(HKEY_LOCAL_MACHINE, key.c_str(), "ErrorControl").data == dword(1));
    }
}

// After a full installation: one file missing from the medium and one cut short. Both are
// named in one warning, the earlier installed files stay whole, and no temporary file is left.
TEST(SetupUnderWine, ReportsDamagedMediumOnce) {
    if (gMode != "damaged") {
        return;
    }
    Process setup;
    ASSERT_TRUE(setup.start());
    HWND dialog =
        waitForWindow(setup.info.dwThreadId, [](HWND w) { return GetDlgItem(w, 1003) != nullptr; });
    ASSERT_TRUE(dialog != nullptr);
    press(dialog, 1000);
    HWND warning = waitForWindow(setup.info.dwThreadId, [dialog](HWND w) {
        return w != dialog && GetWindow(w, GW_OWNER) == dialog;
    });
    ASSERT_TRUE(warning != nullptr);
    const std::wstring expected =
        L"次のﾌｧｲﾙをｲﾝｽﾄｰﾙできませんでした。\n"
        L"help\\vextpagj.hlp (vextpagj.hl_: ｺﾋﾟｰ元がありません)\n"
        L"system32\\drivers\\viziza.sys (viziza.sy_: ｺﾋﾟｰ元を展開できません)";
    if (!EXPECT_TRUE(itemText(warning, kMessageText) == expected)) {
        note(narrow(itemText(warning, kMessageText)));
    }
    EXPECT_TRUE(GetDlgItem(warning, IDOK) != nullptr);
    EXPECT_TRUE(GetDlgItem(warning, IDNO) == nullptr);
    EXPECT_TRUE(saveScreenshot(warning, gArtifacts + "\\vextsetup-not-installed.bmp"));
    press(warning, IDOK);
    HWND question = waitForWindow(setup.info.dwThreadId, [dialog, warning](HWND w) {
        return w != dialog && w != warning && GetWindow(w, GW_OWNER) == dialog &&
               GetDlgItem(w, IDNO) != nullptr;
    });
    ASSERT_TRUE(question != nullptr);
    press(question, IDNO);
    EXPECT_EQ(setup.finish(), 0);

    for (const vext::setup::CopyRecord& record : vext::setup::kCopyTable) {
        if (!EXPECT_TRUE(readFile(installedPath(record)) ==
                         readFile(gOriginals + "\\" + record.targetName))) {
            note(record.targetName);
        }
    }
    for (const char* dir : {"\\help\\", "\\system32\\drivers\\"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((windowsDirectory() + dir + "vxs*").c_str(), &found);
        if (!EXPECT_TRUE(search == INVALID_HANDLE_VALUE)) {
            note(found.cFileName);
            FindClose(search);
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 5) {
        std::printf(
            "usage: setup_driver refuse|refuse-western|install|damaged MEDIUM ORIGINALS "
            "ARTIFACTS\n");
        return 2;
    }
    gMode = argv[1];
    gMedium = argv[2];
    gOriginals = argv[3];
    gArtifacts = argv[4];
    return wintest::runAll();
}
