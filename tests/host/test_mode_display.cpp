// The test mode's display device and its on-screen menu objects on the simulated drivers.
#include <algorithm>
#include <string>
#include <vector>

#include "panel/test/menu_items.h"
#include "panel/test/test_display.h"
#include "tests/host/test_mode_support.h"

namespace vext {
namespace {

using test::TestModeTest;

class Display : public TestModeTest {
  protected:
    void SetUp() override {
        TestModeTest::SetUp();
        searchedDriverName = "VEXTA";
    }
    void TearDown() override {
        display.Close();
        EXPECT_EQ(sim::liveDisplayDevices(), 0);
        EXPECT_EQ(sim::liveDisplaySurfaces(), 0);
        TestModeTest::TearDown();
    }
    int32_t open(int32_t width, int32_t height) {
        return display.Open(nullptr, FindBoardDevice, width, height, 16);
    }
    int count(const std::string& prefix) const {
        const auto& log = sim::displayLog();
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }

    TVOutTestDisplay display;
};

std::vector<std::string> offered;

int countingFind(void* id, char* description, char* name, void* context) {
    offered.push_back(description);
    return FindBoardDevice(id, description, name, context);
}

TEST_F(Display, TakesTheFirstDriverNamedVextaAndOffersNoMore) {
    drivers("display \"primary\"\nVEXTA \"first\"\nVEXTA \"second\"\n");
    offered.clear();
    ASSERT_EQ(display.Open(nullptr, countingFind, 640, 480, 16), 1);
    EXPECT_EQ(offered, (std::vector<std::string>{"primary", "first"}));
    EXPECT_EQ(count("create VEXTA"), 1);
    EXPECT_EQ(count("create display"), 1);  // the primary display driver's object, held too
    EXPECT_EQ(sim::liveDisplayDevices(), 2);
}

TEST_F(Display, NamesThatOnlyLookAlikeAreNotTaken) {
    for (const char* name : {"vexta", "VEXTAX", "VEXT"}) {
        SCOPED_TRACE(name);
        drivers(std::string("display \"primary\"\n") + name + " \"board\"\n");
        sim::displayLog().clear();
        EXPECT_EQ(open(640, 480), 0);
        EXPECT_EQ(count("mode"), 0) << "no display mode may change";
        EXPECT_TRUE(display.directDraw == nullptr);
        display.Close();
        EXPECT_EQ(sim::liveDisplayDevices(), 0);
    }
}

TEST_F(Display, ARefusedModeFailsBeforeAnySurfaceAndCloseReleasesBothObjects) {
    drivers("display \"primary\"\nVEXTA \"board\" refuse=800x600x16\n");
    EXPECT_EQ(open(800, 600), 0);
    EXPECT_TRUE(logged(sim::displayLog(), "refuse VEXTA 800x600x16"));
    EXPECT_EQ(count("surface"), 0);
    display.Close();
    EXPECT_EQ(count("release VEXTA"), 1);
    EXPECT_EQ(count("release display"), 1);
}

TEST_F(Display, OpensFourSurfacesOfTheModeAndGivesTheEarlierModeBackOnClose) {
    drivers("display \"primary\"\nVEXTA \"board\" mode=1024x768x16\n");
    ASSERT_EQ(open(640, 480), 1);
    EXPECT_EQ(sim::displayMode("VEXTA").width, 640);
    EXPECT_EQ(count("surface VEXTA 640x480"), 4);  // primary, back buffer, background, sprites
    // Both off-screen surfaces take 16-bit pixels to their last row and column.
    EXPECT_EQ(display.background->fill({639, 479, 640, 480}, 0xF800), platform::kDisplayOk);
    EXPECT_EQ(display.sprites->fill({0, 0, 640, 480}, 0x001F), platform::kDisplayOk);
    EXPECT_NE(display.sprites->fill({0, 0, 641, 480}, 0), platform::kDisplayOk);
    display.Close();
    const sim::DisplayMode after = sim::displayMode("VEXTA");
    EXPECT_EQ(after.width, 1024);
    EXPECT_EQ(after.height, 768);
    EXPECT_EQ(sim::liveDisplaySurfaces(), 0);
}

TEST_F(Display, LostSurfacesAreReportedByTheFlipAndComeBackEmpty) {
    ASSERT_EQ(open(512, 384), 1);
    display.background->fill({0, 0, 512, 384}, 0xFFFF);
    sim::loseDisplaySurfaces();
    EXPECT_EQ(display.primary->flip(), platform::kDisplaySurfaceLost);
    EXPECT_EQ(display.backBuffer->fill({0, 0, 1, 1}, 0), platform::kDisplaySurfaceLost);
    EXPECT_EQ(display.RestoreSurfaces(), 1);
    std::vector<uint16_t> frame = show(display, display.background);
    EXPECT_EQ(pixel(frame, 512, 100, 100), 0) << "a restored surface holds no picture";
    EXPECT_EQ(display.primary->flip(), platform::kDisplayOk);
}

TEST_F(Display, KeyedCopiesSkipTheSourceKey) {
    ASSERT_EQ(open(512, 384), 1);
    display.sprites->fill({0, 0, 2, 1}, 0x001F);
    display.sprites->fill({1, 0, 2, 1}, 0x07E0);
    display.backBuffer->fill({0, 0, 512, 384}, 0xF800);
    display.sprites->setSourceColourKey(31);
    display.backBuffer->copy({10, 10, 12, 11}, display.sprites, {0, 0, 2, 1}, true);
    display.primary->flip();
    const std::vector<uint16_t>& frame = sim::lastFrame(nullptr, nullptr);
    EXPECT_EQ(pixel(frame, 512, 10, 10), 0xF800);
    EXPECT_EQ(pixel(frame, 512, 11, 10), 0x07E0);
}

// ---- menu items ----

TEST(MenuItem, OnOffValuesToggleAndKeepOneBit) {
    TVOutMenuItem item(nullptr, 0, 0, 160, 32, 31, 32, 160, ItemVisible, 0);
    EXPECT_EQ(item.SetValue(2), 0);
    EXPECT_EQ(item.SetValue(3), 1);
    EXPECT_EQ(item.Increase(), 0);
    EXPECT_EQ(item.Decrease(), 1);
    EXPECT_EQ(item.IncreaseFine(), 0);
    EXPECT_EQ(item.DecreaseFine(), 1);
    item.value = -1;
    EXPECT_EQ(item.Increase(), 0);
    TVOutMenuAction action(nullptr, 0, 0, 160, 32, 31, 32, 160, ItemVisible, -1);
    EXPECT_EQ(action.Decrease(), 0);
    EXPECT_EQ(action.Increase(), 1);
}

TEST(MenuBar, ValuesStayWithinTheLimits) {
    TVOutMenuBar bar(nullptr, 0, 0, 160, 32, 31, 32, 160, ItemVisible, 90);
    bar.SetBarImage(nullptr, 0, 288, 32, 32, 160, 0, 160, 90, 208, 11);
    struct Case {
        int32_t from;
        int32_t (TVOutMenuBar::*op)();
        int32_t expected;
    } cases[] = {
        {200, &TVOutMenuBar::Increase, 208},     {95, &TVOutMenuBar::Decrease, 90},
        {90, &TVOutMenuBar::Increase, 101},      {90, &TVOutMenuBar::IncreaseFine, 91},
        {208, &TVOutMenuBar::IncreaseFine, 208}, {90, &TVOutMenuBar::DecreaseFine, 90},
    };
    for (const Case& c : cases) {
        bar.value = c.from;
        EXPECT_EQ((bar.*c.op)(), c.expected) << "from " << c.from;
    }
    EXPECT_EQ(bar.SetValue(300), 208);
    EXPECT_EQ(bar.SetValue(0), 90);
}

class MenuDrawing : public Display {
  protected:
    void SetUp() override {
        Display::SetUp();
        ASSERT_EQ(open(640, 480), 1);
        target = display.backBuffer;
    }
    TVOutSurface* target = nullptr;
};

TEST_F(MenuDrawing, ABarGrowsTwoPixelsAFrameToItsLength) {
    TVOutMenuBar bar(display.sprites, 0, 64, 160, 32, 31, 32, 160, ItemVisible, 0);
    bar.SetBarImage(display.sprites, 0, 288, 32, 32, 160, 0, 160, 0, 7, 1);
    EXPECT_EQ(bar.shownLength, 0);
    bar.SetValue(7);
    for (int frame = 1; frame <= 79; ++frame) {
        bar.Draw(target);
    }
    EXPECT_EQ(bar.shownLength, 158);
    bar.Draw(target);
    EXPECT_EQ(bar.shownLength, 160);
    bar.Draw(target);
    EXPECT_EQ(bar.shownLength, 160);

    // A target an odd distance away is approached to one pixel short.
    TVOutMenuBar odd(display.sprites, 0, 64, 160, 32, 31, 32, 200, ItemVisible, 0);
    odd.SetBarImage(display.sprites, 0, 288, 32, 32, 160, 0, 161, 0, 7, 1);
    odd.SetValue(7);
    for (int frame = 0; frame < 100; ++frame) {
        odd.Draw(target);
    }
    EXPECT_EQ(odd.shownLength, 160);
}

TEST_F(MenuDrawing, TheBarIsWholeSegmentsAndACutOffOne) {
    display.sprites->fill({0, 288, 32, 320}, 0x07E0);
    display.backBuffer->fill({0, 0, 640, 480}, 0xFFFF);
    TVOutMenuBar bar(display.sprites, 0, 64, 160, 32, 31, 32, 160, 0, 7);
    bar.SetBarImage(display.sprites, 0, 288, 32, 32, 160, 0, 160, 0, 7, 1);
    bar.flags = ItemVisible;
    bar.shownLength = 70;  // comes down to two segments and 4 columns
    bar.value = 3;         // target 68
    bar.Draw(target);
    display.primary->flip();
    const std::vector<uint16_t>& frame = sim::lastFrame(nullptr, nullptr);
    EXPECT_EQ(bar.shownLength, 68);
    EXPECT_EQ(pixel(frame, 640, 192, 170), 0x07E0);
    EXPECT_EQ(pixel(frame, 640, 192 + 67, 170), 0x07E0);
    EXPECT_EQ(pixel(frame, 640, 192 + 68, 170), 0xFFFF);
}

TEST_F(MenuDrawing, TheHighlightSlidesToTheChosenWord) {
    TVOutMenuItem item(display.sprites, 0, 32, 160, 32, 31, 32, 160, ItemVisible, 0);
    item.SetOnOffImages(display.sprites, 0, 128, 45, 32, 31, 160, 0, display.sprites, 0, 160, 56,
                        32, 31, 210, 0);
    TVOutMenuItem::highlightOffset = 0;
    item.Draw(target);
    EXPECT_EQ(TVOutMenuItem::highlightOffset, 210);
    EXPECT_EQ(TVOutMenuItem::highlightWidth, 56);
    item.SetValue(1);
    const int32_t offsets[] = {202, 194, 186, 178, 170, 160};
    const int32_t widths[] = {54, 52, 50, 48, 46, 45};
    for (int frame = 0; frame < 6; ++frame) {
        item.Draw(target);
        EXPECT_EQ(TVOutMenuItem::highlightOffset, offsets[frame]) << "frame " << frame;
        EXPECT_EQ(TVOutMenuItem::highlightWidth, widths[frame]) << "frame " << frame;
    }
}

TEST_F(MenuDrawing, OnlyVisibleSelectedItemsWobbleAndOnlyAtZeroTheHintBlinks) {
    TVOutMenuItem hidden(display.sprites, 0, 0, 160, 32, 31, 32, 160, ItemSelected, 0);
    const int32_t before = TVOutMenuItem::wobbleCounter;
    EXPECT_EQ(hidden.Draw(target), 0);
    EXPECT_EQ(TVOutMenuItem::wobbleCounter, before);

    TVOutMenuAction action(display.sprites, 0, 192, 160, 32, 31, 32, 280,
                           ItemVisible | ItemSelected, 1);
    action.SetHintImage(display.sprites, 0, 224, 160, 32, 160, 0, 10);
    for (int32_t value : {1, -1}) {
        action.value = value;
        const int32_t blink = TVOutMenuAction::blinkCounter;
        EXPECT_EQ(action.Draw(target), 1);
        EXPECT_EQ(TVOutMenuAction::blinkCounter, blink) << "value " << value;
    }
    action.value = 0;
    TVOutMenuAction::blinkCounter = 0;
    for (int frame = 0; frame < 20; ++frame) {
        action.Draw(target);
    }
    EXPECT_EQ(TVOutMenuAction::blinkCounter, 0) << "a full blink period is 20 frames";
}

TEST(MenuWobble, NeverMovesByFour) {
    const int32_t expected[31] = {0, 0,  1,  2,  2,  3,  3,  3,  3,  3,  3,  2,  2,  1, 0, 0,
                                  0, -1, -2, -2, -3, -3, -3, -3, -3, -3, -2, -2, -1, 0, 0};
    for (int32_t counter = 0; counter <= 30; ++counter) {
        EXPECT_EQ(WobbleOffset(counter), expected[counter]) << "counter " << counter;
    }
}

TEST(Menu, TheSelectionPassesOverSkippedItems) {
    std::vector<TVOutMenuItem> storage;
    storage.reserve(6);
    TVOutMenuItem* items[6];
    for (int i = 0; i < 6; ++i) {
        storage.emplace_back(nullptr, 0, 0, 160, 32, 31, 32, 0, i == 0 ? ItemSkipped : ItemVisible,
                             0);
        items[i] = &storage[i];
    }
    TVOutMenu menu(items, 6, 5);
    EXPECT_NE(items[5]->flags & ItemSelected, 0);
    EXPECT_EQ(menu.SelectNext(), 1);
    EXPECT_EQ(items[5]->flags & ItemSelected, 0);
    EXPECT_NE(items[1]->flags & ItemSelected, 0);
    EXPECT_EQ(menu.SelectPrevious(), 5);

    // With every item skipped the selection stays: the search ends after one round.
    for (TVOutMenuItem* item : items) {
        item->flags = ItemSkipped;
    }
    EXPECT_EQ(menu.SelectNext(), 5);
    EXPECT_EQ(menu.SelectPrevious(), 5);
}

TEST_F(MenuDrawing, TheGridGrowsToATenthOfTheScreen) {
    TVOutPositionGrid grid(&display, 11, 11, 0);
    grid.Expand();
    for (int frame = 0; frame < 21; ++frame) {
        grid.Draw(target);
    }
    EXPECT_EQ(grid.IsComplete(), 0);
    display.backBuffer->fill({0, 0, 640, 480}, 0xFFFF);
    grid.Draw(target);
    EXPECT_EQ(grid.IsComplete(), 1);
    display.primary->flip();
    const std::vector<uint16_t> frame = sim::lastFrame(nullptr, nullptr);
    struct Point {
        int x, y;
        uint16_t colour;
    } points[] = {
        {0, 200, 0xF800}, {64, 200, 0x001F}, {576, 200, 0x001F}, {639, 200, 0xF800},
        {200, 0, 0xF800}, {200, 48, 0x001F}, {200, 432, 0x001F}, {200, 479, 0xF800},
        {0, 0, 0xFFFF},   {639, 0, 0xFFFF},  {100, 100, 0xFFFF}, {577, 200, 0xFFFF},
    };
    for (const Point& p : points) {
        EXPECT_EQ(pixel(frame, 640, p.x, p.y), p.colour) << p.x << ", " << p.y;
    }
    grid.Collapse();
    for (int step = 0; step < 22; ++step) {
        grid.Draw(target);
    }
    EXPECT_EQ(grid.columnsShown, 0);
    EXPECT_EQ(grid.rowsShown, 0);
}

TEST_F(MenuDrawing, AKickedArrowComesBackThreePixelsAFrame) {
    TVOutPositionArrow arrow(display.sprites, 32, 320, 32, 32, 31, 272, 224, -100, 0);
    arrow.Kick(16);
    std::vector<int32_t> offsets;
    for (int frame = 0; frame < 5; ++frame) {
        arrow.Draw(target);
        offsets.push_back(arrow.offsetX);
    }
    EXPECT_EQ(offsets, (std::vector<int32_t>{-13, -10, -7, -4, 0}));
    EXPECT_EQ(arrow.velocityX, 0);
    EXPECT_EQ(arrow.offsetY, 0);
}

}  // namespace
}  // namespace vext
