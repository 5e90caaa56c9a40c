// The diagnostic trace on Windows: the runtime's text stream stores CRLF line ends, and the level
// comes from the process environment as Windows holds it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver/trace.h"
#include "tests/win/wintest.h"

namespace {

// A fresh directory under the temporary directory as the current directory, for one test.
struct TraceDir {
    TraceDir() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetCurrentDirectoryA(MAX_PATH, previous);
        std::snprintf(path, sizeof path, "%svext-trace-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(path, nullptr);
        SetCurrentDirectoryA(path);
        DeleteFileA(vext::kTraceFileName);
        vext::resetTraceForTesting();
    }
    ~TraceDir() {
        vext::resetTraceForTesting();
        DeleteFileA(vext::kTraceFileName);
        SetCurrentDirectoryA(previous);
        RemoveDirectoryA(path);
        SetEnvironmentVariableA(vext::kTraceLevelVariable, nullptr);
    }
    char previous[MAX_PATH];
    char path[MAX_PATH];
};

std::string readBytes(const char* name) {
    std::string bytes;
    FILE* f = std::fopen(name, "rb");
    if (f == nullptr) {
        return bytes;
    }
    char buf[512];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes.append(buf, n);
    }
    std::fclose(f);
    return bytes;
}

bool exists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(Win32Trace, FileHasCrLfLineEndsAndShortestClocks) {
    TraceDir dir;
    SetEnvironmentVariableA(vext::kTraceLevelVariable, "80");
    vext::BoardInfo board{};
    board.Version = 0x00010000;
    board.VendorId = 0x121A;
    board.HWBaseAddr = 0x20000000;
    board.VideoTiming.ZizarResolution = 7;
    board.VideoTiming.Depth = 16;
    board.VideoTiming.ClkFreq16bpp = 20.14f;
    board.VideoTiming.ClkFreq24bpp = 24.671f;
    vext::traceEntry("duvuzInitMapBoard", &board);
    vext::traceEntry("duvuzControlMode", nullptr);
    std::string bytes = readBytes(vext::kTraceFileName);
    EXPECT_EQ(bytes.substr(0, 41), std::string("duvuzInitMapBoard: \r\n\tVersion:      1.0\r\n"));
    EXPECT_TRUE(bytes.find("\tZizarResolution:  (0x7 : 640x480)\r\n") != std::string::npos);
    EXPECT_TRUE(bytes.find("\tClkFreq 16bpp:    20.14\r\n") != std::string::npos);
    EXPECT_TRUE(bytes.find("\tClkFreq 24bpp:    24.671\r\n\r\nduvuzControlMode: \r\n\r\n") !=
                std::string::npos);
    size_t lines = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lines;
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r');
        }
    }
    EXPECT_EQ(lines, 25u);  // 23 for the entry with the board, 2 for the one without
}

TEST(Win32Trace, BelowEightyNothingIsCreated) {
    TraceDir dir;
    SetEnvironmentVariableA(vext::kTraceLevelVariable, "79");
    vext::traceEntry("duvuzGetStatus", nullptr);
    EXPECT_FALSE(exists(vext::kTraceFileName));
    SetEnvironmentVariableA(vext::kTraceLevelVariable, nullptr);
    vext::traceEntry("duvuzGetStatus", nullptr);
    EXPECT_FALSE(exists(vext::kTraceFileName));
}
