#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/settings.h"
#include "platform/registry.h"
#include "tests/host/sim_root_fixture.h"

namespace vext {
namespace {

using platform::RegKey;
using platform::RegRoot;

const std::string kRoot = "Software\\3Vav Interactive\\Dudezi2\\TVOut";

class SettingsStore : public test::SimRootTest {
  protected:
    static void store(const std::string& subkey, const char* name, const std::string& text) {
        RegKey key = RegKey::create(RegRoot::LocalMachine, (kRoot + subkey).c_str());
        ASSERT_TRUE(key);
        ASSERT_TRUE(key.setString(name, text.c_str(), static_cast<uint32_t>(text.size() + 1)));
    }
    // The raw bytes of a stored value, or an empty string when there is none.
    static std::string stored(const std::string& subkey, const char* name,
                              uint32_t* type = nullptr) {
        RegKey key = RegKey::open(RegRoot::LocalMachine, (kRoot + subkey).c_str());
        char buf[256];
        uint32_t size = sizeof buf;
        if (!key || !key.query(name, buf, &size, type)) {
            return {};
        }
        return std::string(buf, size);
    }
    static TVOutStatus get(uint16_t resolution) {
        TVOutStatus s;
        std::memset(&s, 0xEE, sizeof s);
        s.resolution = resolution;
        duvuzGetTVOutStatus(&s);
        return s;
    }
};

TEST_F(SettingsStore, EmptyRegistryGivesDefaults) {
    TVOutStatus s = get(7);
    EXPECT_EQ(s.resolution, 7);
    EXPECT_EQ(s.enable, 0);
    EXPECT_EQ(s.outputDevice, 3);
    EXPECT_EQ(s.dotCrawl, 0);
    EXPECT_EQ(s.flickerFilter, 0);
    EXPECT_EQ(s.tvOnly, 0);
    EXPECT_EQ(s.underscan, 0);
    EXPECT_EQ(s.contrast, 3);
    EXPECT_EQ(s.brightness, 127);
    EXPECT_EQ(s.position[0].horizontal, 32);
    EXPECT_EQ(s.position[0].vertical, 0);
    EXPECT_EQ(s.position[1].horizontal, 48);
    EXPECT_EQ(s.position[1].vertical, 2);
    for (uint8_t b : s.reserved) {
        EXPECT_EQ(b, 0xEE);  // the driver never touches the reserved bytes
    }
}

TEST_F(SettingsStore, PositionDefaultsFollowTheTimingTable) {
    struct Case {
        uint16_t code;
        uint16_t overH, overV, underH, underV;
    } cases[] = {
        {3, 27, 0, 46, 3},
        {6, 52, 2, 70, 8},
        {8, 36, 0, 62, 2},
        {12, kNoTimingDefaultPosition, kNoTimingDefaultPosition, kNoTimingDefaultPosition,
         kNoTimingDefaultPosition},
        {0x88, 36, 0, 62, 2},  // flag masked off for the timing lookup
    };
    for (const Case& c : cases) {
        TVOutStatus s = get(c.code);
        EXPECT_EQ(s.position[0].horizontal, c.overH) << c.code;
        EXPECT_EQ(s.position[0].vertical, c.overV) << c.code;
        EXPECT_EQ(s.position[1].horizontal, c.underH) << c.code;
        EXPECT_EQ(s.position[1].vertical, c.underV) << c.code;
    }
}

TEST_F(SettingsStore, RoundTripStoresFiftyBytesOfDecimalText) {
    TVOutStatus in{};
    in.resolution = 8;
    in.enable = 1;
    in.outputDevice = 2;
    in.dotCrawl = 1;
    in.flickerFilter = 1;
    in.tvOnly = 1;
    in.underscan = 1;
    in.contrast = 5;
    in.brightness = 65535;
    in.position[0] = {40, 4};
    in.position[1] = {60, 7};
    duvuzSetTVOutStatus(&in);

    uint32_t type = 0;
    std::string underscan = stored("\\800x600", "DIZA2_TVOUT_UNDERSCAN", &type);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(underscan, std::string("1") + std::string(49, '\0'));
    EXPECT_EQ(stored("", "DIZA2_TVOUT_BRIGHTNESS"), std::string("65535") + std::string(45, '\0'));
    EXPECT_EQ(stored("\\800x600\\OverScan", "DIZA2_TVOUT_HORIZONTAL").c_str(), std::string("40"));
    EXPECT_EQ(stored("\\800x600\\OverScan", "DIZA2_TVOUT_VERTICAL").c_str(), std::string("4"));
    EXPECT_EQ(stored("\\800x600\\UnderScan", "DIZA2_TVOUT_HORIZONTAL").c_str(), std::string("60"));
    EXPECT_EQ(stored("\\800x600\\UnderScan", "DIZA2_TVOUT_VERTICAL").c_str(), std::string("7"));

    TVOutStatus out = get(8);
    in.resolution = 8;
    std::memcpy(out.reserved, in.reserved, sizeof in.reserved);
    EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
}

TEST_F(SettingsStore, DefaultsOnlyFlagIgnoresTheRegistry) {
    store("", "DIZA2_TVOUT_BRIGHTNESS", "200");
    store("", "DIZA2_TVOUT", "1");
    store("\\640x480", "DIZA2_TVOUT_UNDERSCAN", "1");
    store("\\640x480\\OverScan", "DIZA2_TVOUT_HORIZONTAL", "99");
    TVOutStatus s = get(0x87);
    EXPECT_EQ(s.resolution, 0x87);
    EXPECT_EQ(s.brightness, 127);
    EXPECT_EQ(s.enable, 0);
    EXPECT_EQ(s.underscan, 0);
    EXPECT_EQ(s.position[0].horizontal, 32);
    EXPECT_EQ(get(7).brightness, 200);
}

TEST_F(SettingsStore, UnnamedResolutionStoresUnderUnknown) {
    TVOutStatus in{};
    in.resolution = 16;
    in.underscan = 1;
    in.position[1] = {5, 6};
    duvuzSetTVOutStatus(&in);
    EXPECT_EQ(stored("\\Unknown", "DIZA2_TVOUT_UNDERSCAN").c_str(), std::string("1"));
    EXPECT_EQ(stored("\\Unknown\\UnderScan", "DIZA2_TVOUT_VERTICAL").c_str(), std::string("6"));
    TVOutStatus out = get(16);
    EXPECT_EQ(out.underscan, 1);
    EXPECT_EQ(out.position[1].horizontal, 5);
}

TEST_F(SettingsStore, StoredTextIsParsedAsTheDriverDoes) {
    struct Case {
        std::string text;
        uint16_t brightness;
    } cases[] = {
        {"300", 300},    {"abc", 0},    {"", 0},       {"  42", 42},
        {"\t+17x", 17},  {"12abc", 12}, {"-1", 65535}, {"65536", 0},
        {"70000", 4464}, {"007", 7},    {"- 5", 0},    {"99999999999", 59391},
    };
    for (const Case& c : cases) {
        store("", "DIZA2_TVOUT_BRIGHTNESS", c.text);
        EXPECT_EQ(get(7).brightness, c.brightness) << '"' << c.text << '"';
    }
}

TEST_F(SettingsStore, DataLongerThanFiftyBytesGivesTheDefault) {
    store("", "DIZA2_TVOUT_CONTRAST", std::string(49, '7'));  // 50 bytes with the NUL
    EXPECT_EQ(get(7).contrast,
              static_cast<uint16_t>(parseSettingText(std::string(49, '7').c_str(), 49)));
    store("", "DIZA2_TVOUT_CONTRAST", std::string(50, '7'));  // 51 bytes
    EXPECT_EQ(get(7).contrast, 3);
}

TEST_F(SettingsStore, DataWithoutNulEndsAtItsLength) {
    RegKey key = RegKey::create(RegRoot::LocalMachine, kRoot.c_str());
    ASSERT_TRUE(key.setString("DIZA2_TVOUT_BRIGHTNESS", "12345", 2));
    EXPECT_EQ(get(7).brightness, 12);
    // The type plays no part: a REG_DWORD's bytes are read as text too.
    ASSERT_TRUE(key.setDword("DIZA2_TVOUT_CONTRAST", 0x3531));  // '1', '5', NUL, NUL
    EXPECT_EQ(get(7).contrast, 15);
    ASSERT_TRUE(key.setDword("DIZA2_TVOUT_CONTRAST", 9));  // a tab and NULs: no digits
    EXPECT_EQ(get(7).contrast, 0);
}

TEST_F(SettingsStore, MinusOneIsWrittenBackAs65535) {
    store("", "DIZA2_TVOUT_BRIGHTNESS", "-1");
    TVOutStatus s = get(7);
    duvuzSetTVOutStatus(&s);
    EXPECT_EQ(stored("", "DIZA2_TVOUT_BRIGHTNESS").c_str(), std::string("65535"));
}

TEST_F(SettingsStore, ReadSettingReturnsTheWholeValue) {
    store("", "DIZA2_TVOUT", "-1");
    EXPECT_EQ(readTVOutSetting(7, nullptr, "DIZA2_TVOUT", 0), -1);
    EXPECT_EQ(readTVOutSetting(7, nullptr, "DIZA2_TVOUT_MISSING", 1234), 1234);
    EXPECT_EQ(readTVOutSetting(7, "NoSuchKey", "DIZA2_TVOUT", 55), 55);
    EXPECT_EQ(readTVOutSetting(0x80, nullptr, "DIZA2_TVOUT", 77), 77);
}

TEST_F(SettingsStore, NullRecordTouchesNothing) {
    EXPECT_EQ(duvuzGetTVOutStatus(nullptr), 0);
    EXPECT_EQ(duvuzSetTVOutStatus(nullptr), 0);
    EXPECT_FALSE(RegKey::open(RegRoot::LocalMachine, "Software"));
}

}  // namespace
}  // namespace vext
