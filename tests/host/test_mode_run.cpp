// The test screen and test runs on the simulation: the picture and the sprite sheet, the menu's
// layout, the keys of a run, how a run ends, and the Test button of the dialog.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "panel/test/menu_items.h"
#include "panel/test/test_screen.h"
#include "panel/test/test_window.h"
#include "platform/registry.h"
#include "platform/sim/sim_dialog.h"
#include "platform/test_window.h"
#include "tests/host/test_mode_support.h"

namespace vext {
namespace {

using test::TestModeTest;

constexpr uint16_t k512x384 = 3;
constexpr uint16_t k640x480 = 7;

void freeObjects() {
    TVOutTestState& s = testState();
    for (TVOutMenuItem*& item : s.menuItems) {
        delete item;
        item = nullptr;
    }
    delete s.positionGrid;
    s.positionGrid = nullptr;
    for (TVOutPositionArrow*& arrow : s.positionArrows) {
        delete arrow;
        arrow = nullptr;
    }
}

TEST(PatternColor, CornersRampsAndClamping) {
    struct Case {
        int32_t hue, level;
        uint16_t expected;
    } cases[] = {
        {0, 128, 0x001F},    // pure blue
        {84, 128, 0x07C0},   // green, without the low bit of the green field
        {168, 0, 0x0000},    // black
        {210, 300, 0xFFDF},  // white, without that bit
        {41, 128, 0x079F},   // the end of the blue to cyan segment: green only 246
        {251, 128, 0x081F},  // magenta's end: red has come down only to 9
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatternColor(c.hue, c.level), c.expected) << c.hue << ", " << c.level;
    }
}

class Screen : public TestModeTest {
  protected:
    void SetUp() override {
        TestModeTest::SetUp();
        searchedDriverName = "VEXTA";
    }
    void TearDown() override {
        freeObjects();
        display.Close();
        TestModeTest::TearDown();
    }
    void build(int32_t width, int32_t height) {
        ASSERT_EQ(display.Open(nullptr, FindBoardDevice, width, height, 16), 1);
        EXPECT_EQ(BuildTestScreen(&display, &panel, 0), 1);
    }

    TVOutPanel panel;
    TVOutTestDisplay display;
};

TEST_F(Screen, TheSpriteStackFillsTheSmallestSheet) {
    build(512, 384);
    const std::vector<uint16_t> sheet = show(display, display.sprites);
    EXPECT_EQ(pixel(sheet, 512, 0, 0), 0x001F) << "blue around the labels";
    EXPECT_EQ(pixel(sheet, 512, 179, 287), 0x001F);
    EXPECT_NE(pixel(sheet, 512, 5, 290), 0x001F) << "a grey bar segment at y 288";
    EXPECT_EQ(pixel(sheet, 512, 0, 320), 0x001F) << "the arrows at y 320";
    EXPECT_NE(pixel(sheet, 512, 16, 320 + 10), 0x001F) << "the up arrow's head";
    EXPECT_EQ(pixel(sheet, 512, 63, 383), 0x001F) << "the arrows' last row";
    // A white word on the label rows: "ON" in row 4.
    bool ink = false;
    for (int x = 0; x < 45; ++x) {
        for (int y = 128; y < 160; ++y) {
            ink = ink || pixel(sheet, 512, x, y) == 0xF79E;
        }
    }
    EXPECT_TRUE(ink);
}

TEST_F(Screen, TheTestPictureAt640x480) {
    build(640, 480);
    const std::vector<uint16_t> picture = show(display, display.background);
    auto at = [&](int x, int y) { return pixel(picture, 640, x, y); };
    EXPECT_EQ(at(0, 300), 0x0000) << "the grey ramp starts black";
    EXPECT_EQ(at(212, 300), 0xFFDF) << "and ends white at x 212";
    EXPECT_EQ(at(213, 300), 0xFFFF) << "the white fill between ramp and wheel";
    EXPECT_EQ(at(319, 479), 0xFFFF);
    // The wheel covers x 320 to 639, but for the logo: PatternColor never sets green's low
    // bit, the white fill does.
    int notWheel = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 320; x < 640; ++x) {
            const bool logo = x >= 501 && x < 501 + 93 && y >= 26 && y < 26 + 26;
            notWheel += !logo && (at(x, y) & 0x0020) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(notWheel, 0);
    // Six strips, 384 wide and 7 high, from y 14 in steps of 22.
    for (int j = 0; j < 6; ++j) {
        const int top = 14 + 22 * j;
        SCOPED_TRACE(top);
        EXPECT_EQ(at(0, top), PatternColor(42 * j, 0));
        EXPECT_EQ(at(383, top + 6), PatternColor(42 * j, 252));
        EXPECT_EQ(at(320, top), PatternColor(42 * j, 4 * 53)) << "drawn over the wheel";
        EXPECT_EQ(at(10, top - 1), 1 << 11 | 1 << 6 | 1) << "the grey ramp above the strip";
        EXPECT_EQ(at(10, top + 7), 1 << 11 | 1 << 6 | 1) << "and below it";
    }
    // The logo at (501, 26): its frame is white, its face dark grey.
    EXPECT_EQ(at(501, 26), 0xFFFF);
    EXPECT_EQ(at(502, 27), 0x3186);
    EXPECT_EQ(at(592, 50), 0x3186);
    EXPECT_NE(at(500, 27), 0x3186);
    EXPECT_NE(at(502, 52), 0x3186);
}

TEST_F(Screen, TheMenuLayoutFollowsTheScreenSize) {
    struct Case {
        int32_t w, h;
        int32_t y[5];  // items 1 to 5
        int32_t bar;
    } cases[] = {
        {512, 384, {128, 160, 192, 224, 288}, 128},
        {640, 400, {133, 166, 199, 232, 298}, 160},
        {640, 480, {160, 200, 240, 280, 360}, 160},
        {800, 600, {200, 250, 300, 350, 450}, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        build(c.w, c.h);
        TVOutTestState& s = testState();
        EXPECT_EQ(s.menuItems[0]->y, c.y[0]);
        EXPECT_EQ(s.menuItems[0]->flags, ItemSkipped);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(s.menuItems[i]->x, 32);
            EXPECT_EQ(s.menuItems[i]->y, c.y[i - 1]) << "item " << i;
            EXPECT_EQ(s.menuItems[i]->flags, ItemVisible);
        }
        auto* contrast = static_cast<TVOutMenuBar*>(s.menuItems[2]);
        auto* brightness = static_cast<TVOutMenuBar*>(s.menuItems[3]);
        EXPECT_EQ(contrast->fullLength, c.bar);
        EXPECT_EQ(contrast->value, 0);
        EXPECT_EQ(contrast->maximum, 7);
        EXPECT_EQ(brightness->value, 90);
        EXPECT_EQ(brightness->step, 11);
        EXPECT_EQ(brightness->shownLength, 0);
        EXPECT_EQ(brightness->barSourceY, 288);
        EXPECT_EQ(s.menuItems[1]->onOffsetX, 160);
        EXPECT_EQ(s.menuItems[1]->offOffsetX, 210);
        // The arrows: a cross around an empty 32 x 32 square at the centre.
        const int32_t expected[4][4] = {{c.w / 2 - 16, c.h / 2 - 48, 0, 320},
                                        {c.w / 2 - 16, c.h / 2 + 16, 0, 352},
                                        {c.w / 2 - 48, c.h / 2 - 16, 32, 320},
                                        {c.w / 2 + 16, c.h / 2 - 16, 32, 352}};
        for (int a = 0; a < 4; ++a) {
            EXPECT_EQ(s.positionArrows[a]->x, expected[a][0]) << "arrow " << a;
            EXPECT_EQ(s.positionArrows[a]->y, expected[a][1]) << "arrow " << a;
            EXPECT_EQ(s.positionArrows[a]->sourceX, expected[a][2]) << "arrow " << a;
            EXPECT_EQ(s.positionArrows[a]->sourceY, expected[a][3]) << "arrow " << a;
        }
        freeObjects();
        display.Close();
    }
}

TEST_F(Screen, ARedrawKeepsTheMenuObjects) {
    build(640, 480);
    TVOutTestState& s = testState();
    TVOutMenuItem* item = s.menuItems[3];
    TVOutPositionGrid* grid = s.positionGrid;
    item->SetValue(150);
    display.background->fill({0, 0, 640, 480}, 0);
    EXPECT_EQ(BuildTestScreen(&display, &panel, 1), 1);
    EXPECT_EQ(s.menuItems[3], item);
    EXPECT_EQ(s.positionGrid, grid);
    EXPECT_EQ(item->value, 150);
    EXPECT_EQ(pixel(show(display, display.background), 640, 213, 300), 0xFFFF);
}

// ---- test runs ----

class TestRun : public TestModeTest {
  protected:
    TVOutStatus start(uint16_t code) {
        TVOutStatus r{};
        panel.ReadSettings(&r, code);
        return r;
    }
    TVOutStatus stored(uint16_t code) { return start(code); }
    int32_t run(TVOutStatus* record, const std::string& keys) {
        sim::setTestScript(script(keys));
        return TVOutTest(record, &panel);
    }
    bool endedByScript() const { return logged(sim::windowLog(), "script ended: close"); }

    TVOutPanel panel;
};

TEST_F(TestRun, EnterAtOnceEndsWithTheRecordAsItWas) {
    TVOutStatus record = start(k640x480);
    const TVOutStatus before = record;
    EXPECT_EQ(run(&record, "enter"), 1);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_FALSE(endedByScript());
    EXPECT_EQ(sim::liveTopLevelWindows(), 0);
    EXPECT_FALSE(sim::windowClassRegistered(kTestWindowClass));
    EXPECT_EQ(sim::liveDisplayDevices(), 0);
    EXPECT_TRUE(logged(sim::windowLog(), std::string("text ") + kTestNotice));
    EXPECT_EQ(std::strlen(kTestNotice), 53u);
    EXPECT_TRUE(logged(sim::displayLog(), "mode VEXTA 640x480x16"));
}

TEST_F(TestRun, MenuKeysChangeTheRecordThatOkKeeps) {
    struct Case {
        const char* name;
        uint16_t brightness, contrast, flicker;
        const char* keys;
        uint16_t wantBrightness, wantContrast, wantFlicker;
    } cases[] = {
        {"held Right acts once", 90, 3, 0, "up up right held+right held+right down down enter", 101,
         3, 0},
        {"Ctrl+Right by one", 90, 3, 0, "up up ctrl+right down down enter", 91, 3, 0},
        {"at most the maximum", 200, 3, 0, "up up right down down enter", 208, 3, 0},
        {"Left by the step", 101, 3, 0, "up up left left down down enter", 90, 3, 0},
        {"contrast", 127, 3, 0, "up up up right right ctrl+left up up enter", 127, 4, 0},
        {"the filter toggles", 127, 3, 0, "down right up enter", 127, 3, 1},
        {"Enter on a setting", 127, 3, 0, "down enter down enter down enter down down enter", 127,
         3, 0},
        {"Left and Right on OK", 127, 3, 0, "right left right enter", 127, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVOutStatus record = start(k640x480);
        record.brightness = c.brightness;
        record.contrast = c.contrast;
        record.flickerFilter = c.flicker;
        EXPECT_EQ(run(&record, c.keys), 1);
        EXPECT_FALSE(endedByScript()) << "Enter on OK ends the run";
        EXPECT_EQ(record.brightness, c.wantBrightness);
        EXPECT_EQ(record.contrast, c.wantContrast);
        EXPECT_EQ(record.flickerFilter, c.wantFlicker);
        const TVOutStatus kept = stored(k640x480);
        EXPECT_EQ(kept.brightness, c.wantBrightness) << "applied as it was changed";
        sim::windowLog().clear();
    }
}

TEST_F(TestRun, PositionKeysMoveThePairOfTheScanMode) {
    for (uint16_t underscan : {0, 1}) {
        SCOPED_TRACE(underscan);
        TVOutStatus record = start(k640x480);
        record.underscan = underscan;
        record.position[0] = {100, 100};
        record.position[1] = {50, 60};
        const TVOutPosition inForce = record.position[underscan];
        const TVOutPosition other = record.position[1 - underscan];
        // "Position...", then right twice, down once, up twice; Esc leaves; OK.
        EXPECT_EQ(run(&record, "up enter right held+right down up held+up esc down enter"), 1);
        EXPECT_EQ(record.position[underscan].horizontal, inForce.horizontal + 2);
        EXPECT_EQ(record.position[underscan].vertical, inForce.vertical - 1);
        EXPECT_EQ(record.position[1 - underscan].horizontal, other.horizontal);
        EXPECT_EQ(record.position[1 - underscan].vertical, other.vertical);
        const TVOutStatus kept = stored(k640x480);
        EXPECT_EQ(kept.position[underscan].horizontal, inForce.horizontal + 2);
    }
}

TEST_F(TestRun, PositionsStayWithinTheirLimits) {
    TVOutStatus record = start(k640x480);
    record.underscan = 0;
    record.position[0] = {0, 255};
    EXPECT_EQ(run(&record, "up enter left held+left down held+down esc down enter"), 1);
    EXPECT_EQ(record.position[0].horizontal, 0);
    EXPECT_EQ(record.position[0].vertical, 255);
}

TEST_F(TestRun, EscInPositionModeOnlyLeavesIt) {
    TVOutStatus record = start(k640x480);
    const TVOutStatus before = record;
    // Held Esc after leaving position mode is ignored in menu mode; Right then still counts.
    EXPECT_EQ(run(&record, "up enter right esc held+esc held+esc down enter"), 1);
    EXPECT_FALSE(endedByScript());
    EXPECT_EQ(record.position[0].horizontal, before.position[0].horizontal + 1);

    // A second Esc ends the run and gives the driver the starting settings again.
    sim::windowLog().clear();
    record = before;
    EXPECT_EQ(run(&record, "up enter right esc esc"), 1);
    EXPECT_FALSE(endedByScript());
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(stored(k640x480).position[0].horizontal, before.position[0].horizontal);
}

TEST_F(TestRun, AClosedRunKeepsWhatWasAppliedAndTheNextStartsInMenuMode) {
    TVOutStatus record = start(k640x480);
    const TVOutStatus before = record;
    EXPECT_EQ(run(&record, "up enter right close"), 1);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << "the caller's record unchanged";
    EXPECT_EQ(stored(k640x480).position[0].horizontal, before.position[0].horizontal + 1);
    EXPECT_EQ(testState().positionMode, 1);
    // Menu mode again: Right on "OK" only toggles it, and Enter ends the run.
    sim::windowLog().clear();
    EXPECT_EQ(run(&record, "right enter"), 1);
    EXPECT_FALSE(endedByScript());
    EXPECT_EQ(record.position[0].horizontal, before.position[0].horizontal);
}

TEST_F(TestRun, WithoutTheBoardsDriverNothingIsLeftBehindTwice) {
    drivers("display \"Primary display driver\"\n");
    TVOutStatus record = start(k640x480);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_EQ(run(&record, "enter"), 0);
        EXPECT_EQ(sim::liveTopLevelWindows(), 0);
        EXPECT_FALSE(sim::windowClassRegistered(kTestWindowClass));
        EXPECT_EQ(sim::liveDisplayDevices(), 0);
    }
    EXPECT_FALSE(logged(sim::displayLog(), "mode VEXTA 640x480x16"));
}

TEST_F(TestRun, ARefusedModeOrAnUnknownResolutionDoesNotStart) {
    drivers("display \"primary\"\nVEXTA \"board\" refuse=512x384x16\n");
    TVOutStatus record = start(k512x384);
    EXPECT_EQ(run(&record, "enter"), 0);
    record.resolution = 12;
    EXPECT_EQ(run(&record, "enter"), 0);
    EXPECT_EQ(sim::liveTopLevelWindows(), 0);
    EXPECT_EQ(sim::liveDisplayDevices(), 0);
}

TEST_F(TestRun, LostSurfacesAreRestoredAndRepainted) {
    TVOutStatus record = start(k640x480);
    const std::string frame = root() + "/after-loss.png";
    EXPECT_EQ(run(&record, "frames 3 lose frames 2 png " + frame + " enter"), 1);
    ASSERT_EQ(sim::savedFrames().size(), 1u);
    int w = 0;
    const std::vector<uint16_t>& shown = sim::lastFrame(&w, nullptr);
    ASSERT_EQ(w, 640);
    EXPECT_EQ(pixel(shown, 640, 502, 27), 0x3186) << "the test picture is back";
    EXPECT_EQ(pixel(shown, 640, 213, 300), 0xFFFF);
}

TEST_F(TestRun, FramesShowTheMenuAndThePositionGrid) {
    TVOutStatus record = start(k640x480);
    record.flickerFilter = 1;
    const std::string menuFrame = root() + "/menu.png";
    const std::string gridFrame = root() + "/grid.png";
    EXPECT_EQ(run(&record, "frames 40 png " + menuFrame + " up enter frames 30 png " + gridFrame +
                               " esc down enter"),
              1);
    EXPECT_EQ(sim::savedFrames(), (std::vector<std::string>{menuFrame, gridFrame}));
    int w = 0;
    const std::vector<uint16_t>& shown = sim::lastFrame(&w, nullptr);
    EXPECT_EQ(pixel(shown, 640, 0, 200), 0xF800) << "the grid's first column";
    EXPECT_EQ(pixel(shown, 640, 64, 200), 0x001F);
}

// ---- the Test button ----

class TestButton : public TestModeTest {
  protected:
    void SetUp() override {
        TestModeTest::SetUp();
        platform::registerCommonControls();
        TVOutPanel panel;
        platform::RegKey k =
            platform::RegKey::create(platform::RegRoot::LocalMachine, panel.driverKeyPath);
        ASSERT_TRUE(k);
        ASSERT_TRUE(k.setString(panel.driverValueName, "VEXTA", 6));
    }
    void TearDown() override {
        sim::setDialogUser(nullptr);
        TestModeTest::TearDown();
    }
    static int32_t runDialog(std::function<void(sim::SimDialog&)> user) {
        sim::setDialogUser(std::move(user));
        return TVOutControl(nullptr);
    }
};

TEST_F(TestButton, TestsTheCurrentSettingsAndShowsWhatOkKept) {
    int brightnessAfter = 0;
    bool enabledAfter = false;
    sim::setTestScript(script("up up right down down enter"));
    EXPECT_EQ(runDialog([&](sim::SimDialog& d) {
                  d.slide(ctl::kContrast, 5);
                  ASSERT_TRUE(d.click(ctl::kTest));
                  brightnessAfter = d.control(ctl::kBrightness)->position;
                  enabledAfter = sim::windowEnabled(d.handle());
                  d.click(ctl::kOk);
              }),
              1);
    EXPECT_EQ(brightnessAfter, 138);
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(sim::errorMessages().empty());
    const auto& log = sim::windowLog();
    auto index = [&](const std::string& line) {
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i] == line) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    EXPECT_LT(index("disable"), index("create TVOUTTEST"));
    EXPECT_GT(index("enable"), index("unregister TVOUTTEST"));
    EXPECT_GT(index("activate"), index("enable"));
    TVOutPanel panel;
    TVOutStatus kept{};
    panel.ReadSettings(&kept, k640x480);
    EXPECT_EQ(kept.brightness, 138);
    EXPECT_EQ(kept.contrast, 5) << "the dialog's value, stored before the test";
}

TEST_F(TestButton, CancelAfterATestStoresAgainWhatWasRead) {
    TVOutPanel panel;
    TVOutStatus before[4];
    for (int i = 0; i < 4; ++i) {
        panel.ReadSettings(&before[i], panel.resolutions[i].code);
    }
    // The test stores the dialog's edits, then brightness + 11 on "OK".
    sim::setTestScript(script("up up right down down enter"));
    EXPECT_EQ(runDialog([&](sim::SimDialog& d) {
                  d.slide(ctl::kContrast, 6);
                  d.click(ctl::kUnderscan);
                  d.slide(ctl::kHorizontal, 100);
                  ASSERT_TRUE(d.click(ctl::kTest));
                  TVOutStatus tested{};
                  panel.ReadSettings(&tested, k640x480);
                  EXPECT_EQ(tested.contrast, 6);
                  EXPECT_EQ(tested.brightness, 138);
                  EXPECT_EQ(tested.position[1].horizontal, 100);
                  d.click(ctl::kCancel);
              }),
              1);
    for (int i = 0; i < 4; ++i) {
        TVOutStatus after{};
        panel.ReadSettings(&after, panel.resolutions[i].code);
        EXPECT_EQ(std::memcmp(&after, &before[i], sizeof after), 0) << panel.resolutions[i].code;
    }
}

TEST_F(TestButton, ATestThatCannotStartShowsError) {
    drivers("display \"Primary display driver\"\n");
    int contrastAfter = -1;
    EXPECT_EQ(runDialog([&](sim::SimDialog& d) {
                  d.slide(ctl::kContrast, 6);
                  d.click(ctl::kTest);
                  contrastAfter = d.control(ctl::kContrast)->position;
                  d.click(ctl::kCancel);
              }),
              1);
    ASSERT_EQ(sim::errorMessages().size(), 1u);
    EXPECT_EQ(sim::errorMessages()[0].text, "ERROR");
    EXPECT_EQ(sim::errorMessages()[0].caption, "ERROR");
    EXPECT_EQ(contrastAfter, 6);
    EXPECT_EQ(sim::liveTopLevelWindows(), 0);
}

}  // namespace
}  // namespace vext
