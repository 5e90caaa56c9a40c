#include "tests/host/trace_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "driver/trace.h"
#include "platform/sim/simroot.h"

namespace vext::test {

InTraceDir::InTraceDir(const std::string& dir) {
    previousDir_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
    unsetenv(kTraceLevelVariable);
    resetTraceForTesting();
}

InTraceDir::~InTraceDir() {
    resetTraceForTesting();
    unsetenv(kTraceLevelVariable);
    std::filesystem::current_path(previousDir_);
}

void TraceDirTest::SetUp() {
    SimRootTest::SetUp();
    dir_ = std::make_unique<InTraceDir>(root());
}

void TraceDirTest::TearDown() {
    dir_.reset();
    SimRootTest::TearDown();
}

void setTraceLevel(const char* level) {
    if (level == nullptr) {
        unsetenv(kTraceLevelVariable);
    } else {
        setenv(kTraceLevelVariable, level, 1);
    }
}

std::string traceFileText() {
    std::string text;
    sim::readWholeFile(kTraceFileName, &text);
    return text;
}

std::string debugOutputText() {
    std::string text;
    sim::readWholeFile(sim::simPath("debug-output.log"), &text);
    return text;
}

BoardInfo knownBoard() {
    BoardInfo b{};
    b.Version = 0x00020001;
    b.VendorId = 0x121A;
    b.SubVendorId = 0x1234;
    b.DeviceId = 0x9;
    b.BoardId = 0xABCDEF01;
    b.HWBaseAddr = 0x10000000;
    b.SliSlaveAddr = 0;
    b.VideoTiming.ZizarResolution = 3;
    b.VideoTiming.ZizarRefreshRate = 7;
    b.VideoTiming.Depth = 16;
    b.VideoTiming.HSyncOn = 55;
    b.VideoTiming.HSyncOff = 743;
    b.VideoTiming.VSyncOn = 3;
    b.VideoTiming.VSyncOff = 417;
    b.VideoTiming.HBackPorch = 130;
    b.VideoTiming.VBackPorch = 30;
    b.VideoTiming.XDimension = 512;
    b.VideoTiming.YDimension = 384;
    b.VideoTiming.ClkFreq16bpp = 20.14f;
    b.VideoTiming.ClkFreq24bpp = 24.671f;
    return b;
}

const char* const kKnownBoardTrace =
    "duvuzInitMapBoard: \n"
    "\tVersion:      2.1\n"
    "\tVendorId:     0x121A\n"
    "\tSubVendorId:  0x1234\n"
    "\tDeviceId:     0x9\n"
    "\tBoardId:      0xABCDEF01\n"
    "\tHW BaseAddr:  0x10000000\n"
    "\tSliSlaveAddr: 0x0\n"
    "VideoTimingInfo:\n"
    "\tZizarResolution:  (0x3 : 512x384)\n"
    "\tZizarRefreshRate: (0x7 : 85 Mhz)\n"
    "\tDepth:            16\n"
    "\tHSyncOn:          0x37\n"
    "\tHSyncOff:         0x2E7\n"
    "\tVSyncOn:          0x3\n"
    "\tVSyncOff:         0x1A1\n"
    "\tHBackPorch:       0x82\n"
    "\tVBackPorch:       0x1E\n"
    "\tXDimension:       0x200\n"
    "\tYDimension:       0x180\n"
    "\tClkFreq 16bpp:    20.14\n"
    "\tClkFreq 24bpp:    24.671\n"
    "\n";

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace vext::test
