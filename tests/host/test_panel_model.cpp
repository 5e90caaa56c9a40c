// The panel's settings model against the simulated registry, through the driver's store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/settings.h"
#include "panel/tvout_panel.h"
#include "platform/registry.h"
#include "tests/host/sim_root_fixture.h"

namespace vext {
namespace {

using platform::RegKey;
using platform::RegRoot;

class PanelModel : public test::SimRootTest {
  protected:
    static TVOutStatus driverRecord(uint16_t code) {
        TVOutStatus s{};
        s.resolution = code;
        duvuzGetTVOutStatus(&s);
        return s;
    }
    TVOutPanel panel;
};

TEST_F(PanelModel, ConstantsAreThoseOfTheBoard) {
    EXPECT_EQ(panel.resolutionCount, 4);
    const PanelResolution expected[] = {
        {3, 512, 384, 16}, {6, 640, 400, 16}, {7, 640, 480, 16}, {8, 800, 600, 16}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(&panel.resolutions[i], &expected[i], sizeof expected[i]), 0) << i;
    }
    for (int i = 4; i < MaxPanelResolutions; ++i) {
        const PanelResolution zero{};
        EXPECT_EQ(std::memcmp(&panel.resolutions[i], &zero, sizeof zero), 0) << i;
    }
    EXPECT_EQ(panel.brightnessLimits.minimum, 90);
    EXPECT_EQ(panel.brightnessLimits.tickFrequency, 11);
    EXPECT_STREQ(panel.driverKeyPath,
                 "hardware\\DirectDrawDrivers\\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2");
}

TEST_F(PanelModel, IndexOfResolutionSearchesTheEntriesInUseOnly) {
    const struct {
        int32_t code;
        int32_t index;
    } cases[] = {{7, 2}, {3, 0}, {8, 3}, {6, 1}, {12, -1}, {0x87, -1}, {0, -1}, {-1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(panel.IndexOfResolution(c.code), c.index) << c.code;
    }
}

TEST_F(PanelModel, ReadSettingsOfAnUnknownCodeLeavesTheRecordZero) {
    TVOutStatus record;
    std::memset(&record, 0xEE, sizeof record);
    EXPECT_EQ(panel.ReadSettings(&record, 12), 0);
    EXPECT_EQ(panel.ReadDefaultSettings(&record, 0x87), 0);
    const TVOutStatus zero{};
    EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

TEST_F(PanelModel, VerticalPositionsAreMirroredBothWays) {
    TVOutStatus stored = driverRecord(7);
    stored.position[0].vertical = 0;
    stored.position[1].vertical = 255;
    duvuzSetTVOutStatus(&stored);

    TVOutStatus record;
    std::memset(&record, 0xEE, sizeof record);
    ASSERT_EQ(panel.ReadSettings(&record, 7), 1);
    EXPECT_EQ(record.resolution, 7);
    EXPECT_EQ(record.position[0].vertical, 255);
    EXPECT_EQ(record.position[1].vertical, 0);
    EXPECT_EQ(record.position[0].horizontal, stored.position[0].horizontal);
    for (uint8_t byte : record.reserved) {
        EXPECT_EQ(byte, 0);
    }

    record.position[0].vertical = 255;
    record.position[1].vertical = 10;
    const TVOutStatus before = record;
    EXPECT_EQ(panel.ApplySettings(&record), 1);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    TVOutStatus out = driverRecord(7);
    EXPECT_EQ(out.position[0].vertical, 0);
    EXPECT_EQ(out.position[1].vertical, 245);
}

TEST_F(PanelModel, ReadDefaultSettingsIgnoresTheStoredValues) {
    TVOutStatus stored = driverRecord(7);
    stored.contrast = 6;
    stored.brightness = 200;
    stored.position[0].vertical = 40;
    duvuzSetTVOutStatus(&stored);

    TVOutStatus record;
    ASSERT_EQ(panel.ReadDefaultSettings(&record, 7), 1);
    EXPECT_EQ(record.resolution, 7);
    EXPECT_EQ(record.contrast, 3);
    EXPECT_EQ(record.brightness, 127);
    EXPECT_EQ(record.position[0].vertical, 255);
    EXPECT_EQ(record.position[1].vertical, 253);
}

TEST_F(PanelModel, CopyCommonSettingsSpreadsTheSevenSharedFields) {
    TVOutStatus records[4];
    for (int i = 0; i < 4; ++i) {
        std::memset(&records[i], 0, sizeof records[i]);
        records[i].resolution = static_cast<uint16_t>(panel.resolutions[i].code);
        records[i].underscan = static_cast<uint16_t>(i % 2);
        records[i].position[0] = {static_cast<uint16_t>(i), static_cast<uint16_t>(10 + i)};
        records[i].position[1] = {static_cast<uint16_t>(20 + i), static_cast<uint16_t>(30 + i)};
        records[i].reserved[0] = static_cast<uint8_t>(i);
    }
    TVOutStatus source{};
    source.enable = 1;
    source.outputDevice = 2;
    source.dotCrawl = 1;
    source.flickerFilter = 1;
    source.tvOnly = 1;
    source.contrast = 5;
    source.brightness = 101;
    source.underscan = 1;
    source.position[0] = {99, 99};

    CopyCommonSettings(&source, records, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i].enable, 1);
        EXPECT_EQ(records[i].outputDevice, 2);
        EXPECT_EQ(records[i].dotCrawl, 1);
        EXPECT_EQ(records[i].flickerFilter, 1);
        EXPECT_EQ(records[i].tvOnly, 1);
        EXPECT_EQ(records[i].contrast, 5);
        EXPECT_EQ(records[i].brightness, 101);
        EXPECT_EQ(records[i].resolution, panel.resolutions[i].code);
        EXPECT_EQ(records[i].underscan, i % 2);
        EXPECT_EQ(records[i].position[0].horizontal, i);
        EXPECT_EQ(records[i].position[1].vertical, 30 + i);
        EXPECT_EQ(records[i].reserved[0], i);
    }

    // From one of the records itself, and a count of 0 that copies nothing.
    records[3].contrast = 1;
    CopyCommonSettings(&records[3], records, 4);
    EXPECT_EQ(records[0].contrast, 1);
    records[3].contrast = 7;
    CopyCommonSettings(&records[3], records, 0);
    CopyCommonSettings(&records[3], records, -1);
    EXPECT_EQ(records[0].contrast, 1);
}

TEST_F(PanelModel, IsBoardDisplayDriverWantsExactlyTheBoardsName) {
    const std::string key = panel.driverKeyPath;
    const struct {
        std::string data;  // stored as is, without a terminator unless it holds one
        int32_t expected;
    } cases[] = {
        {std::string("VEXTA", 6), 1},
        {std::string("VEXTA", 5), 1},  // the buffer's zeros end the text
        {std::string("vexta", 6), 0},
        {std::string("VEXTAX", 7), 0},
        {std::string("VEXT", 5), 0},
        {std::string(50, 'V'), 0},                       // fills the buffer, no terminator
        {std::string("VEXTA") + std::string(46, 0), 0},  // 51 bytes: longer than the buffer
    };
    for (const auto& c : cases) {
        RegKey k = RegKey::create(RegRoot::LocalMachine, key.c_str());
        ASSERT_TRUE(k);
        ASSERT_TRUE(k.setString("DriverName", c.data.data(), static_cast<uint32_t>(c.data.size())));
        EXPECT_EQ(panel.IsBoardDisplayDriver(), c.expected) << c.data.c_str();
    }
}

TEST_F(PanelModel, IsBoardDisplayDriverWithoutKeyOrValueIsNotTheBoard) {
    EXPECT_EQ(panel.IsBoardDisplayDriver(), 0);
    RegKey k = RegKey::create(RegRoot::LocalMachine, panel.driverKeyPath);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k.setString("Description", "VEXTA", 6));
    EXPECT_EQ(panel.IsBoardDisplayDriver(), 0);
}

}  // namespace
}  // namespace vext
