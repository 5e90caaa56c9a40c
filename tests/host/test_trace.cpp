// The diagnostic trace: the bytes of "oemdll.txt", the debugger output, and the level gate.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "driver/trace.h"
#include "platform/sim/simroot.h"
#include "tests/host/sim_root_fixture.h"
#include "tests/host/trace_fixture.h"

namespace vext::test {
namespace {

using TraceTest = TraceDirTest;

TEST_F(TraceTest, EntryWithBoardWritesTheWholeDumpWithCrLf) {
    setTraceLevel("80");
    BoardInfo board = knownBoard();
    traceEntry("duvuzInitMapBoard", &board);
    EXPECT_EQ(traceFileText(), crlf(kKnownBoardTrace));
    // The debugger output gets the same lines with "\n" alone.
    EXPECT_EQ(debugOutputText(), kKnownBoardTrace);
}

TEST_F(TraceTest, EntryWithoutBoardWritesHeadingAndEmptyLine) {
    setTraceLevel("80");
    traceEntry("duvuzControlMode", nullptr);
    EXPECT_EQ(traceFileText(), "duvuzControlMode: \r\n\r\n");
}

TEST_F(TraceTest, LevelDecidesWhetherAnythingIsWritten) {
    struct Case {
        const char* level;  // nullptr: unset
        bool traces;
    };
    const Case cases[] = {
        {nullptr, false}, {"79", false}, {"", false},   {"abc", false}, {"-80", false},
        {"80", true},     {"100", true}, {" 80", true}, {"+80", true},  {"80abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level == nullptr ? "unset" : c.level);
        resetTraceForTesting();
        std::filesystem::remove(kTraceFileName);
        std::filesystem::remove(sim::simPath("debug-output.log"));
        setTraceLevel(c.level);
        traceEntry("duvuzGetStatus", nullptr);
        EXPECT_EQ(std::filesystem::exists(kTraceFileName), c.traces);
        EXPECT_EQ(debugOutputText().empty(), !c.traces);
    }
}

TEST_F(TraceTest, TimingDumpNamesCodesAndPrintsShortestClocks) {
    setTraceLevel("80");
    traceEntry("x", nullptr);
    VideoTimingInfo t = knownBoard().VideoTiming;
    t.ZizarResolution = 12;
    t.ZizarRefreshRate = 255;
    t.Depth = -1;
    t.ClkFreq16bpp = 28.196f;
    t.ClkFreq24bpp = 100.0f;
    traceVideoTiming(&t);
    std::string text = traceFileText();
    EXPECT_NE(text.find("\tZizarResolution:  (0xC : 1024x768)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tZizarRefreshRate: (0xFF : Unknown Mhz)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tDepth:            -1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tClkFreq 16bpp:    28.196\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tClkFreq 24bpp:    100\r\n"), std::string::npos);

    t.ZizarResolution = 16;
    t.ZizarRefreshRate = 6;
    traceVideoTiming(&t);
    text = traceFileText();
    EXPECT_NE(text.find("\tZizarResolution:  (0x10 : Unknown)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tZizarRefreshRate: (0x6 : 100 Mhz)\r\n"), std::string::npos);
}

TEST_F(TraceTest, TimingDumpNeedsAnOpenFile) {
    setTraceLevel("80");
    VideoTimingInfo t = knownBoard().VideoTiming;
    traceVideoTiming(&t);  // no traced entry yet in this process
    EXPECT_FALSE(std::filesystem::exists(kTraceFileName));
    EXPECT_EQ(debugOutputText(), "");
    traceEntry("duvuzInitMapBoard", nullptr);
    traceVideoTiming(nullptr);
    EXPECT_EQ(traceFileText(), "duvuzInitMapBoard: \r\n\r\n");
}

TEST_F(TraceTest, LevelIsReadAtEveryEntryButTheLineGateIsKept) {
    setTraceLevel("80");
    traceEntry("duvuzInitMapBoard", nullptr);
    setTraceLevel("0");
    traceEntry("duvuzGetStatus", nullptr);  // below 80 now: nothing
    VideoTimingInfo t = knownBoard().VideoTiming;
    traceVideoTiming(&t);  // the file is open and the gate said on
    std::string text = traceFileText();
    EXPECT_EQ(text.find("duvuzGetStatus"), std::string::npos);
    EXPECT_EQ(text.rfind("VideoTimingInfo:\r\n"),
              std::string("duvuzInitMapBoard: \r\n\r\n").size());
    setTraceLevel("80");
    traceEntry("duvuzRestoreVideo", nullptr);  // appended, not truncated
    EXPECT_EQ(traceFileText().rfind("duvuzInitMapBoard: \r\n", 0), 0u);
    EXPECT_NE(traceFileText().find("duvuzRestoreVideo: \r\n\r\n"), std::string::npos);
}

TEST_F(TraceTest, FileThatCannotBeOpenedSkipsTheCallAndIsRetried) {
    setTraceLevel("80");
    std::filesystem::create_directory(kTraceFileName);  // in the way of the file
    traceEntry("duvuzInitMapBoard", nullptr);
    EXPECT_EQ(debugOutputText(), "");
    std::filesystem::remove(kTraceFileName);
    traceEntry("duvuzInitSetVideo", nullptr);
    EXPECT_EQ(traceFileText(), "duvuzInitSetVideo: \r\n\r\n");
}

TEST_F(TraceTest, LongLineIsWholeInTheFileAndCutToTheBufferOnTheDebuggerOutput) {
    setTraceLevel("80");
    std::string name(400, 'n');
    traceEntry(name.c_str(), nullptr);
    EXPECT_EQ(traceFileText(), name + ": \r\n\r\n");
    EXPECT_EQ(debugOutputText(), name.substr(0, kTraceLineBufferSize - 1) + "\n");
}

}  // namespace
}  // namespace vext::test
