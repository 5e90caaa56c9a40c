// What the test mode's tests share: a fresh simulation root with the panel's resources, the
// simulated display drivers, and the frames shown.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "panel/test/test_display.h"
#include "panel/tvout_dialog.h"
#include "platform/dialog_template.h"
#include "platform/sim/sim_display.h"
#include "platform/sim/sim_test_window.h"
#include "platform/sim/simroot.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {

class TestModeTest : public SimRootTest {
  protected:
    void SetUp() override {
        SimRootTest::SetUp();
        platform::moduleAttached(&platform::kModuleResources);
        sim::displayLog().clear();
        sim::windowLog().clear();
        sim::errorMessages().clear();
        sim::savedFrames().clear();
        sim::setTestScript({});
    }

    // The display drivers of the machine, in the form of display-devices.txt.
    static void drivers(const std::string& text) {
        std::ofstream(sim::simPath(sim::kDisplayDevicesFile)) << text;
    }

    static std::vector<sim::TestEvent> script(const std::string& text) {
        std::vector<sim::TestEvent> events;
        std::string error;
        EXPECT_TRUE(sim::parseTestScript(text, &events, &error)) << error;
        return events;
    }

    static bool logged(const std::vector<std::string>& log, const std::string& line) {
        for (const std::string& l : log) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }

    // What the display shows after surface's rectangle is copied to the back buffer and flipped.
    static std::vector<uint16_t> show(TVOutTestDisplay& display, TVOutSurface* surface) {
        const int w = display.width;
        const int h = display.height;
        display.backBuffer->copy({0, 0, w, h}, surface, {0, 0, w, h}, false);
        display.primary->flip();
        return sim::lastFrame(nullptr, nullptr);
    }

    static uint16_t pixel(const std::vector<uint16_t>& frame, int width, int x, int y) {
        return frame[static_cast<size_t>(y) * width + x];
    }
};

}  // namespace vext::test
