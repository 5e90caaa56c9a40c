// The settings store against the real Win32 registry, and through the DLL's decorated exports.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "driver/settings.h"
#include "tests/win/wintest.h"

namespace {

using vext::TVOutStatus;

const char* const kRoot = "Software\\3Vav Interactive\\Dudezi2\\TVOut";

// Each test starts and ends without the TV-out key.
struct CleanKey {
    CleanKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot); }
    ~CleanKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot); }
};

bool store(const char* name, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRoot, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Raw data of a value as the registry returns it; empty when missing.
std::string stored(const std::string& subkey, const char* name, DWORD* type = nullptr) {
    HKEY key = nullptr;
    std::string path = std::string(kRoot) + subkey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    char buf[256];
    DWORD size = sizeof buf;
    LONG rc = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(buf, size) : std::string();
}

TVOutStatus get(uint16_t resolution) {
    TVOutStatus s{};
    s.resolution = resolution;
    duvuzGetTVOutStatus(&s);
    return s;
}

}  // namespace

TEST(Win32Store, RecordRoundTripStoresFiftyByteDecimalText) {
    CleanKey clean;
    TVOutStatus in{};
    in.resolution = 8;
    in.enable = 1;
    in.outputDevice = 1;
    in.flickerFilter = 1;
    in.underscan = 1;
    in.contrast = 4;
    in.brightness = 200;
    in.position[0] = {30, 1};
    in.position[1] = {64, 3};
    duvuzSetTVOutStatus(&in);

    TVOutStatus out = get(8);
    EXPECT_EQ(std::memcmp(&in, &out, offsetof(TVOutStatus, reserved)), 0);

    DWORD type = 0;
    std::string data = stored("\\800x600", "DIZA2_TVOUT_UNDERSCAN", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.size(), 50u);
    EXPECT_TRUE(data == std::string("1") + std::string(49, '\0'));
    EXPECT_STREQ(stored("\\800x600\\UnderScan", "DIZA2_TVOUT_HORIZONTAL").c_str(), "64");
    EXPECT_EQ(stored("", "DIZA2_TVOUT_BRIGHTNESS").size(), 50u);
}

TEST(Win32Store, ReadFallsBackAsTheStoreDefines) {
    CleanKey clean;
    EXPECT_EQ(get(7).brightness, 127);  // missing value: its default
    ASSERT_TRUE(store("DIZA2_TVOUT_BRIGHTNESS", "abc"));
    EXPECT_EQ(get(7).brightness, 0);                                     // text without digits
    ASSERT_TRUE(store("DIZA2_TVOUT_BRIGHTNESS", std::string(50, '1')));  // 51 bytes with the NUL
    EXPECT_EQ(get(7).brightness, 127);
    ASSERT_TRUE(store("DIZA2_TVOUT_BRIGHTNESS", "300"));
    EXPECT_EQ(get(7).brightness, 300);
    EXPECT_EQ(get(0x87).brightness, 127);
}

TEST(Win32Store, MinusOneIsWrittenBackAs65535) {
    CleanKey clean;
    ASSERT_TRUE(store("DIZA2_TVOUT_CONTRAST", "-1"));
    TVOutStatus s = get(7);
    EXPECT_EQ(s.contrast, 65535);
    duvuzSetTVOutStatus(&s);
    EXPECT_STREQ(stored("", "DIZA2_TVOUT_CONTRAST").c_str(), "65535");
}

TEST(Win32Store, DecoratedExportsOfTheDllReachTheSameStore) {
    CleanKey clean;
    HMODULE dll = LoadLibraryA(VEXTLINK_DLL);
    ASSERT_TRUE(dll != nullptr);
    using Call = int32_t(__stdcall*)(TVOutStatus*);
    auto getStatus =
        bindExport<Call>(reinterpret_cast<void*>(GetProcAddress(dll, "_duvuzGetTVOutStatus@4")));
    auto setStatus =
        bindExport<Call>(reinterpret_cast<void*>(GetProcAddress(dll, "_duvuzSetTVOutStatus@4")));
    ASSERT_TRUE(getStatus != nullptr);
    ASSERT_TRUE(setStatus != nullptr);
    TVOutStatus s{};
    s.resolution = 3;
    EXPECT_EQ(getStatus(&s), 0);
    EXPECT_EQ(s.position[1].horizontal, 46);
    s.brightness = 150;
    EXPECT_EQ(setStatus(&s), 0);
    EXPECT_EQ(get(3).brightness, 150);
    EXPECT_EQ(getStatus(nullptr), 0);
    EXPECT_EQ(setStatus(nullptr), 0);
    FreeLibrary(dll);
}
