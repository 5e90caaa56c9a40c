// The settings dialog through the simulation's dialog model: what it shows, what it stores on
// OK, Cancel and Default, its help and its preview.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "driver/settings.h"
#include "panel/resources/dialog101.h"
#include "panel/tvout_dialog.h"
#include "platform/registry.h"
#include "platform/sim/sim_dialog.h"
#include "platform/sim/sim_help.h"
#include "tests/host/sim_root_fixture.h"

namespace vext {
namespace {

using platform::RegKey;
using platform::RegRoot;
using sim::SimDialog;

constexpr uint16_t k640x480 = 7;
constexpr uint16_t k800x600 = 8;
const uint16_t kCodes[] = {3, 6, 7, 8};

class PanelDialog : public test::SimRootTest {
  protected:
    void SetUp() override {
        SimRootTest::SetUp();
        platform::moduleAttached(&platform::kModuleResources);
        platform::registerCommonControls();
        sim::helpCalls().clear();
        unsetenv(sim::kUserLanguageVariable);
        unsetenv(sim::kSystemLanguageVariable);
    }
    void TearDown() override {
        sim::setDialogUser(nullptr);
        SimRootTest::TearDown();
    }

    // Runs TVOutControl with the given user acting on the dialog.
    static int32_t run(std::function<void(SimDialog&)> user) {
        sim::setDialogUser(std::move(user));
        int32_t result = TVOutControl(nullptr);
        sim::setDialogUser(nullptr);
        return result;
    }

    static TVOutStatus stored(uint16_t code) {
        TVOutStatus s{};
        s.resolution = code;
        duvuzGetTVOutStatus(&s);
        return s;
    }
    static void store(TVOutStatus s) { duvuzSetTVOutStatus(&s); }

    static bool hasValue(const char* subkey, const char* name) {
        std::string path = kTVOutRootKey;
        if (subkey != nullptr) {
            path += std::string("\\") + subkey;
        }
        RegKey key = RegKey::open(RegRoot::LocalMachine, path.c_str());
        char buf[64];
        uint32_t size = sizeof buf;
        return key && key.query(name, buf, &size);
    }

    static void registerBoardDriver(const char* name) {
        TVOutPanel panel;
        RegKey k = RegKey::create(RegRoot::LocalMachine, panel.driverKeyPath);
        ASSERT_TRUE(k);
        ASSERT_TRUE(
            k.setString(panel.driverValueName, name, static_cast<uint32_t>(std::strlen(name) + 1)));
    }

    static int position(const SimDialog& d, int id) { return d.control(id)->position; }
    static bool isChecked(const SimDialog& d, int id) {
        return d.control(id)->checkState == platform::kButtonChecked;
    }
};

TEST_F(PanelDialog, OpensOn640x480WithTheSlidersOfThePanel) {
    bool ran = false;
    EXPECT_EQ(run([&](SimDialog& d) {
                  ran = true;
                  EXPECT_EQ(d.dialogTemplate().language, platform::kLangEnglishUS);
                  const struct {
                      int id, min, max, ticks;
                  } sliders[] = {{ctl::kResolution, 0, 3, 1},
                                 {ctl::kContrast, 0, 7, 1},
                                 {ctl::kBrightness, 90, 208, 11},
                                 {ctl::kHorizontal, 0, 255, 16},
                                 {ctl::kVertical, 0, 255, 16}};
                  for (const auto& s : sliders) {
                      const sim::SimControl* c = d.control(s.id);
                      EXPECT_EQ(c->rangeMin, s.min) << s.id;
                      EXPECT_EQ(c->rangeMax, s.max) << s.id;
                      EXPECT_EQ(c->tickFrequency, s.ticks) << s.id;
                  }
                  EXPECT_EQ(position(d, ctl::kResolution), 2);
                  EXPECT_EQ(d.control(ctl::kResolutionText)->text, "640 x 480");
              }),
              1);
    EXPECT_TRUE(ran);
}

TEST_F(PanelDialog, EmptyRegistryShowsTheDriversDefaults) {
    run([&](SimDialog& d) {
        EXPECT_TRUE(isChecked(d, ctl::kBoth));
        EXPECT_FALSE(isChecked(d, ctl::kSVideo));
        EXPECT_FALSE(isChecked(d, ctl::kComposite));
        EXPECT_TRUE(isChecked(d, ctl::kOverscan));
        EXPECT_FALSE(isChecked(d, ctl::kUnderscan));
        EXPECT_FALSE(isChecked(d, ctl::kTvOnly));
        EXPECT_FALSE(isChecked(d, ctl::kFlickerFilter));
        EXPECT_EQ(position(d, ctl::kContrast), 3);
        EXPECT_EQ(position(d, ctl::kBrightness), 127);
        EXPECT_EQ(position(d, ctl::kVertical), 255);  // driver position 0, at the bottom end
        EXPECT_EQ(position(d, ctl::kHorizontal), 32);
        // No board display driver registered: Test is greyed, nothing else.
        EXPECT_FALSE(d.control(ctl::kTest)->enabled);
        EXPECT_TRUE(d.control(ctl::kOk)->enabled);
        EXPECT_FALSE(d.control(ctl::kDotCrawl)->visible);
        EXPECT_FALSE(d.control(ctl::kPreviewFrame)->visible);
    });
}

TEST_F(PanelDialog, TestIsEnabledOnlyForTheBoardsDisplayDriver) {
    const struct {
        const char* name;
        bool enabled;
    } cases[] = {{"VEXTA", true}, {"vexta", false}, {"VEXTA2", false}};
    for (const auto& c : cases) {
        registerBoardDriver(c.name);
        bool enabled = !c.enabled;
        run([&](SimDialog& d) {
            enabled = d.control(ctl::kTest)->enabled;
            EXPECT_TRUE(d.click(ctl::kOk));
        });
        EXPECT_EQ(enabled, c.enabled) << c.name;
    }
}

TEST_F(PanelDialog, StoredSettingsAreShownWithTheVerticalSliderMirrored) {
    TVOutStatus s = stored(k640x480);
    s.outputDevice = 1;
    s.tvOnly = 1;
    s.flickerFilter = 1;
    s.dotCrawl = 1;
    s.underscan = 1;
    s.contrast = 6;
    s.brightness = 200;
    s.position[1] = {77, 40};
    store(s);
    run([&](SimDialog& d) {
        EXPECT_TRUE(isChecked(d, ctl::kSVideo));
        EXPECT_FALSE(isChecked(d, ctl::kBoth));
        EXPECT_TRUE(isChecked(d, ctl::kTvOnly));
        EXPECT_TRUE(isChecked(d, ctl::kFlickerFilter));
        EXPECT_TRUE(isChecked(d, ctl::kDotCrawl));
        EXPECT_TRUE(isChecked(d, ctl::kUnderscan));
        EXPECT_FALSE(isChecked(d, ctl::kOverscan));
        EXPECT_EQ(position(d, ctl::kContrast), 6);
        EXPECT_EQ(position(d, ctl::kBrightness), 200);
        EXPECT_EQ(position(d, ctl::kHorizontal), 77);
        EXPECT_EQ(position(d, ctl::kVertical), 255 - 40);
    });
}

TEST_F(PanelDialog, ContrastCarriesToTheNextResolutionAndOkStoresItsOwnScanAndPositions) {
    TVOutStatus big = stored(k800x600);
    big.underscan = 1;
    big.position[0] = {11, 12};
    big.position[1] = {21, 22};
    store(big);

    EXPECT_EQ(run([&](SimDialog& d) {
                  EXPECT_TRUE(d.slide(ctl::kContrast, 6));
                  EXPECT_TRUE(d.click(ctl::kComposite));
                  EXPECT_TRUE(d.slide(ctl::kResolution, 3));
                  EXPECT_EQ(d.control(ctl::kResolutionText)->text, "800 x 600");
                  EXPECT_EQ(position(d, ctl::kContrast), 6);
                  EXPECT_TRUE(isChecked(d, ctl::kComposite));
                  EXPECT_TRUE(isChecked(d, ctl::kUnderscan));
                  EXPECT_EQ(position(d, ctl::kHorizontal), 21);
                  EXPECT_EQ(position(d, ctl::kVertical), 255 - 22);
                  EXPECT_TRUE(d.click(ctl::kOk));
                  EXPECT_FALSE(d.isOpen());
                  EXPECT_EQ(d.result(), 1);
              }),
              1);

    for (uint16_t code : kCodes) {
        TVOutStatus s = stored(code);
        EXPECT_EQ(s.contrast, 6) << code;
        EXPECT_EQ(s.outputDevice, 2) << code;
    }
    TVOutStatus s = stored(k800x600);
    EXPECT_EQ(s.underscan, 1);
    EXPECT_EQ(s.position[0].horizontal, 11);
    EXPECT_EQ(s.position[0].vertical, 12);
    EXPECT_EQ(s.position[1].horizontal, 21);
    EXPECT_EQ(s.position[1].vertical, 22);
}

TEST_F(PanelDialog, EachScanModeKeepsItsOwnPositions) {
    run([&](SimDialog& d) {
        EXPECT_TRUE(d.click(ctl::kUnderscan));
        EXPECT_TRUE(d.slide(ctl::kHorizontal, 100));
        EXPECT_TRUE(d.slide(ctl::kVertical, 200));
        EXPECT_TRUE(d.click(ctl::kOverscan));
        EXPECT_EQ(position(d, ctl::kHorizontal), 32);
        EXPECT_EQ(position(d, ctl::kVertical), 255);
        EXPECT_TRUE(d.click(ctl::kUnderscan));
        EXPECT_EQ(position(d, ctl::kHorizontal), 100);
        EXPECT_EQ(position(d, ctl::kVertical), 200);
        // Away to another resolution and back: the pairs stay with 640 x 480.
        EXPECT_TRUE(d.slide(ctl::kResolution, 0));
        EXPECT_TRUE(d.slide(ctl::kResolution, 2));
        EXPECT_TRUE(isChecked(d, ctl::kUnderscan));
        EXPECT_EQ(position(d, ctl::kHorizontal), 100);
        EXPECT_TRUE(d.click(ctl::kOk));
    });
    TVOutStatus s = stored(k640x480);
    EXPECT_EQ(s.underscan, 1);
    EXPECT_EQ(s.position[0].horizontal, 32);
    EXPECT_EQ(s.position[0].vertical, 0);
    EXPECT_EQ(s.position[1].horizontal, 100);
    EXPECT_EQ(s.position[1].vertical, 55);
}

TEST_F(PanelDialog, CancelStoresWhatWasReadForAllFourResolutions) {
    TVOutStatus before[4];
    for (int i = 0; i < 4; ++i) {
        before[i] = stored(kCodes[i]);
    }
    for (auto action : {+[](SimDialog& d) { d.click(ctl::kCancel); },
                        +[](SimDialog& d) { d.pressEscape(); }, +[](SimDialog& d) { d.close(); }}) {
        run([&](SimDialog& d) {
            d.slide(ctl::kBrightness, 150);
            d.click(ctl::kUnderscan);
            d.slide(ctl::kVertical, 3);
            d.slide(ctl::kResolution, 1);
            d.click(ctl::kTvOnly);
            action(d);
            EXPECT_FALSE(d.isOpen());
            EXPECT_EQ(d.result(), 2);
        });
        for (int i = 0; i < 4; ++i) {
            TVOutStatus after = stored(kCodes[i]);
            EXPECT_EQ(std::memcmp(&after, &before[i], offsetof(TVOutStatus, reserved)), 0)
                << kCodes[i];
        }
    }
    // Every value that was missing is now stored with its default.
    EXPECT_TRUE(hasValue(nullptr, "DIZA2_TVOUT"));
    EXPECT_TRUE(hasValue(nullptr, "DIZA2_TVOUT_BRIGHTNESS"));
    EXPECT_TRUE(hasValue("512x384", "DIZA2_TVOUT_UNDERSCAN"));
    EXPECT_TRUE(hasValue("800x600\\UnderScan", "DIZA2_TVOUT_VERTICAL"));
}

TEST_F(PanelDialog, DefaultThenCancelStoresOnlyWhatWasRead) {
    TVOutStatus s = stored(k640x480);
    s.enable = 1;
    s.contrast = 1;
    s.underscan = 1;
    store(s);
    run([&](SimDialog& d) {
        EXPECT_TRUE(d.click(ctl::kDefault));
        EXPECT_EQ(position(d, ctl::kContrast), 3);
        EXPECT_TRUE(isChecked(d, ctl::kOverscan));
        EXPECT_TRUE(d.click(ctl::kCancel));
    });
    TVOutStatus after = stored(k640x480);
    EXPECT_EQ(after.enable, 1);
    EXPECT_EQ(after.contrast, 1);
    EXPECT_EQ(after.underscan, 1);
}

TEST_F(PanelDialog, DefaultThenOkStoresTheDefaultsOfAllFourResolutions) {
    for (uint16_t code : kCodes) {
        TVOutStatus s = stored(code);
        s.enable = 1;
        s.outputDevice = 1;
        s.brightness = 190;
        s.underscan = 1;
        s.position[0] = {1, 2};
        s.position[1] = {3, 4};
        store(s);
    }
    run([&](SimDialog& d) {
        EXPECT_TRUE(d.click(ctl::kDefault));
        EXPECT_TRUE(d.click(ctl::kOk));
    });
    for (uint16_t code : kCodes) {
        TVOutStatus defaults{};
        defaults.resolution = static_cast<uint16_t>(code | 0x80);
        duvuzGetTVOutStatus(&defaults);
        defaults.resolution = code;
        TVOutStatus after = stored(code);
        EXPECT_EQ(std::memcmp(&after, &defaults, offsetof(TVOutStatus, reserved)), 0) << code;
        EXPECT_EQ(after.enable, 0) << code;  // TV output is switched off
    }
}

TEST_F(PanelDialog, ASecondCallWhileTheDialogIsOpenReturnsZero) {
    int32_t inner = -1;
    EXPECT_EQ(run([&](SimDialog& d) {
                  inner = TVOutControl(nullptr);
                  EXPECT_TRUE(d.isOpen());
                  d.click(ctl::kOk);
              }),
              1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(moduleState().dialogOpen, 0);
    EXPECT_EQ(run(nullptr), 1);  // and once it is closed, the next call opens it again
}

TEST_F(PanelDialog, WithoutTheTrackbarClassNothingIsReadOrStored) {
    sim::setCommonControlsRegistered(false);
    bool ran = false;
    EXPECT_EQ(run([&](SimDialog&) { ran = true; }), 1);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(hasValue(nullptr, "DIZA2_TVOUT"));
    EXPECT_EQ(moduleState().dialogOpen, 0);
}

TEST_F(PanelDialog, AnUnattachedLibraryOpensNothing) {
    TVOutModuleState& state = moduleState();
    const platform::ModuleHandle module = state.moduleHandle;
    state.moduleHandle = nullptr;
    bool ran = false;
    EXPECT_EQ(run([&](SimDialog&) { ran = true; }), 0);
    state.moduleHandle = module;
    EXPECT_FALSE(ran);
}

TEST_F(PanelDialog, JapaneseUserGetsTheJapaneseTemplate) {
    setenv(sim::kUserLanguageVariable, "0x0411", 1);
    run([&](SimDialog& d) {
        EXPECT_EQ(d.dialogTemplate().language, platform::kLangJapanese);
        EXPECT_STREQ(d.dialogTemplate().caption, "TVOUTの設定");
        EXPECT_EQ(d.control(ctl::kCancel)->text, "ｷｬﾝｾﾙ");
        EXPECT_EQ(d.control(ctl::kResolutionText)->text, "640 x 480");
    });
}

// ---- help ----

TEST_F(PanelDialog, HelpOpensTheTopicOfTheControlInTheSystemsLanguage) {
    const struct {
        const char* systemLanguage;
        const char* userLanguage;
        int control;
        const char* file;
        int32_t context;
    } cases[] = {
        {nullptr, nullptr, ctl::kBrightness, "VEXTPAGE.HLP", 100003},
        {"0x0411", nullptr, ctl::kBrightness, "VEXTPAGJ.HLP", 100003},
        {"1033", "0x0411", ctl::kBrightness, "VEXTPAGE.HLP", 100003},
        {"0x0412", nullptr, ctl::kOk, "VEXTPAGE.HLP", 100013},
        {nullptr, nullptr, ctl::kCancel, "VEXTPAGE.HLP", 100014},
        {nullptr, nullptr, ctl::kResolutionText, "VEXTPAGE.HLP", 100004},
        {nullptr, nullptr, ctl::kPreviewFrame, "VEXTPAGE.HLP", 100006},
        {nullptr, nullptr, ctl::kTest, "VEXTPAGE.HLP", 100012},
    };
    for (const auto& c : cases) {
        if (c.systemLanguage != nullptr) {
            setenv(sim::kSystemLanguageVariable, c.systemLanguage, 1);
        } else {
            unsetenv(sim::kSystemLanguageVariable);
        }
        if (c.userLanguage != nullptr) {
            setenv(sim::kUserLanguageVariable, c.userLanguage, 1);
        } else {
            unsetenv(sim::kUserLanguageVariable);
        }
        sim::helpCalls().clear();
        run([&](SimDialog& d) { EXPECT_TRUE(d.requestHelp(c.control)); });
        ASSERT_EQ(sim::helpCalls().size(), 1u) << c.control;
        const sim::HelpCall& call = sim::helpCalls()[0];
        EXPECT_EQ(call.ownerId, c.control);
        EXPECT_EQ(call.file, c.file);
        EXPECT_EQ(call.command, 0x000Cu);
        // The viewer gets the whole table and finds the control's topic there itself.
        ASSERT_EQ(call.table, HelpContextTable[0]);
        int32_t context = 0;
        for (const int32_t* pair = call.table; pair[0] != 0; pair += 2) {
            if (pair[0] == c.control) {
                context = pair[1];
            }
        }
        EXPECT_EQ(context, c.context);
    }
}

TEST_F(PanelDialog, ControlsWithoutATopicGetNoHelp) {
    run([&](SimDialog& d) {
        EXPECT_TRUE(d.requestHelp(-1));  // "Reso" and the unnamed group boxes
        EXPECT_TRUE(d.isOpen());
    });
    EXPECT_TRUE(sim::helpCalls().empty());
}

TEST_F(PanelDialog, EveryControlWithAnIdHasOneTopic) {
    const platform::DialogTemplate& t = Dialog101Templates()[0];
    for (int i = 0; i < t.itemCount; ++i) {
        int id = t.items[i].id;
        if (id == -1) {
            continue;
        }
        int entries = 0;
        for (const int32_t* pair = HelpContextTable[0]; pair[0] != 0 || pair[1] != 0; pair += 2) {
            entries += pair[0] == id ? 1 : 0;
        }
        EXPECT_EQ(entries, 1) << id;
    }
}

// ---- preview ----

struct Box {
    int left, top, right, bottom;
};

Box box(const sim::PaintCall& call) {
    return {call.rect.left, call.rect.top, call.rect.right, call.rect.bottom};
}

bool operator==(const Box& a, const Box& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

TEST_F(PanelDialog, PreviewOfAn80By64FrameInBothScanModes) {
    using platform::BrushKind;
    using platform::PenKind;
    const int x0 = 140;
    const int y0 = 150;
    run([&](SimDialog& d) {
        d.setControlRect(ctl::kPreviewFrame, {x0, y0, x0 + 80, y0 + 64});
        d.invalidate();
        d.paintPass();
        for (uint16_t scan : {0, 1}) {
            if (scan == 1) {
                const int paints = d.paintCount();
                EXPECT_TRUE(d.click(ctl::kUnderscan));
                EXPECT_EQ(d.paintCount(), paints + 1);  // the scan change redraws it
            }
            const auto& calls = d.lastPaint();
            ASSERT_EQ(calls.size(), 4u);
            EXPECT_EQ(box(calls[0]), (Box{x0, y0, x0 + 80, y0 + 64}));
            EXPECT_EQ(calls[0].pen, PenKind::Null);
            EXPECT_EQ(calls[0].brush, BrushKind::ButtonFace);

            EXPECT_EQ(calls[1].shape, sim::PaintCall::Shape::RoundRect);
            EXPECT_EQ(box(calls[1]), (Box{x0 + 10, y0 + 8, x0 + 70, y0 + 56}));
            EXPECT_EQ(calls[1].ellipseWidth, 10);
            EXPECT_EQ(calls[1].pen, PenKind::Black);
            EXPECT_EQ(calls[1].brush, BrushKind::Gray);

            EXPECT_EQ(box(calls[2]), (Box{x0 + 14, y0 + 12, x0 + 66, y0 + 52}));
            EXPECT_EQ(calls[2].ellipseHeight, 20);
            EXPECT_EQ(calls[2].brush, BrushKind::LightGray);

            const Box picture = scan == 0 ? Box{x0 + 4, y0 + 2, x0 + 76, y0 + 62}
                                          : Box{x0 + 20, y0 + 18, x0 + 60, y0 + 46};
            EXPECT_EQ(box(calls[3]), picture) << "scan " << scan;
            EXPECT_EQ(calls[3].pen, PenKind::Dotted);
            EXPECT_EQ(calls[3].brush, BrushKind::Hatched);
            EXPECT_TRUE(calls[3].transparentBackground);
        }
        EXPECT_EQ(box(d.lastPaint()[0]), (Box{x0, y0, x0 + 80, y0 + 64}));  // nothing moved
    });
}

TEST_F(PanelDialog, PreviewOfAnUnknownScanModeSitsOnTheScreen) {
    TVOutStatus s = stored(k640x480);
    s.underscan = 2;
    store(s);
    run([&](SimDialog& d) {
        d.setControlRect(ctl::kPreviewFrame, {0, 0, 80, 64});
        d.invalidate();
        d.paintPass();
        ASSERT_EQ(d.lastPaint().size(), 4u);
        EXPECT_EQ(box(d.lastPaint()[3]), (Box{14, 12, 66, 52}));
        // Neither scan radio is checked, and OK passes the stored value through unchanged.
        EXPECT_FALSE(isChecked(d, ctl::kOverscan));
        EXPECT_FALSE(isChecked(d, ctl::kUnderscan));
        d.click(ctl::kOk);
    });
    EXPECT_EQ(stored(k640x480).underscan, 2);
}

TEST_F(PanelDialog, ResolutionChangeAndDefaultRedrawThePreview) {
    run([&](SimDialog& d) {
        int paints = d.paintCount();
        EXPECT_GE(paints, 1);
        d.slide(ctl::kResolution, 3);
        EXPECT_GT(d.paintCount(), paints);
        paints = d.paintCount();
        d.click(ctl::kDefault);
        EXPECT_EQ(d.paintCount(), paints + 1);
        paints = d.paintCount();
        d.click(ctl::kTvOnly);  // a check box only changes its own state
        EXPECT_EQ(d.paintCount(), paints);
    });
}

}  // namespace
}  // namespace vext
