#include "driver/trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "driver/settings.h"
#include "driver/tables.h"

namespace vext {

namespace {

// Per process: the trace file, and the line gate with whether it has been decided.
struct TraceState {
    platform::TraceFile file;
    bool gateDecided = false;
    bool gateOn = false;
};

TraceState& traceState() {
    static TraceState state;
    return state;
}

// The level is decimal text read as the settings store reads its values.
bool levelSaysTrace() {
    std::string text;
    if (!platform::readEnvironment(kTraceLevelVariable, &text)) {
        return false;
    }
    return parseSettingText(text.c_str(), text.size()) >= kTraceThreshold;
}

}  // namespace

void traceLine(platform::TraceFile* stream, const char* format, ...) {
    TraceState& state = traceState();
    if (!state.gateDecided) {
        state.gateOn = levelSaysTrace();
        state.gateDecided = true;
    }
    if (!state.gateOn) {
        return;
    }
    char line[kTraceLineBufferSize];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    if (stream != nullptr) {
        if (static_cast<size_t>(length) < sizeof line) {
            stream->write(line, static_cast<size_t>(length));
        } else {
            // The file takes the whole line; only the debugger output is cut to the buffer.
            std::string whole(static_cast<size_t>(length) + 1, '\0');
            va_start(args, format);
            std::vsnprintf(whole.data(), whole.size(), format, args);
            va_end(args);
            stream->write(whole.data(), static_cast<size_t>(length));
        }
    }
    platform::writeDebuggerOutput(line);
}

void traceVideoTiming(const VideoTimingInfo* timing) {
    platform::TraceFile* file = &traceState().file;
    if (!*file || timing == nullptr) {
        return;
    }
    const VideoTimingInfo& t = *timing;
    traceLine(file, "VideoTimingInfo:\n");
    traceLine(file, "\tZizarResolution:  (0x%lX : %s)\n",
              static_cast<unsigned long>(t.ZizarResolution), resolutionName(t.ZizarResolution));
    traceLine(file, "\tZizarRefreshRate: (0x%lX : %s Mhz)\n",
              static_cast<unsigned long>(t.ZizarRefreshRate), refreshRateName(t.ZizarRefreshRate));
    traceLine(file, "\tDepth:            %ld\n", static_cast<long>(t.Depth));
    traceLine(file, "\tHSyncOn:          0x%lX\n", static_cast<unsigned long>(t.HSyncOn));
    traceLine(file, "\tHSyncOff:         0x%lX\n", static_cast<unsigned long>(t.HSyncOff));
    traceLine(file, "\tVSyncOn:          0x%lX\n", static_cast<unsigned long>(t.VSyncOn));
    traceLine(file, "\tVSyncOff:         0x%lX\n", static_cast<unsigned long>(t.VSyncOff));
    traceLine(file, "\tHBackPorch:       0x%lX\n", static_cast<unsigned long>(t.HBackPorch));
    traceLine(file, "\tVBackPorch:       0x%lX\n", static_cast<unsigned long>(t.VBackPorch));
    traceLine(file, "\tXDimension:       0x%lX\n", static_cast<unsigned long>(t.XDimension));
    traceLine(file, "\tYDimension:       0x%lX\n", static_cast<unsigned long>(t.YDimension));
    traceLine(file, "\tClkFreq 16bpp:    %g\n", static_cast<double>(t.ClkFreq16bpp));
    traceLine(file, "\tClkFreq 24bpp:    %g\n", static_cast<double>(t.ClkFreq24bpp));
}

void traceEntry(const char* name, const BoardInfo* board) {
    if (!levelSaysTrace()) {
        return;
    }
    TraceState& state = traceState();
    if (!state.file) {
        state.file = platform::TraceFile::create(kTraceFileName);
        if (!state.file) {
            return;  // the next traced call tries again
        }
    }
    platform::TraceFile* file = &state.file;
    traceLine(file, "%s: \n", name);
    if (board != nullptr) {
        const BoardInfo& b = *board;
        traceLine(file, "\tVersion:      %d.%d\n", static_cast<int>(b.Version >> 16),
                  static_cast<int>(b.Version & 0xFFFF));
        traceLine(file, "\tVendorId:     0x%lX\n", static_cast<unsigned long>(b.VendorId));
        traceLine(file, "\tSubVendorId:  0x%lX\n", static_cast<unsigned long>(b.SubVendorId));
        traceLine(file, "\tDeviceId:     0x%lX\n", static_cast<unsigned long>(b.DeviceId));
        traceLine(file, "\tBoardId:      0x%lX\n", static_cast<unsigned long>(b.BoardId));
        traceLine(file, "\tHW BaseAddr:  0x%lX\n", static_cast<unsigned long>(b.HWBaseAddr));
        traceLine(file, "\tSliSlaveAddr: 0x%lX\n", static_cast<unsigned long>(b.SliSlaveAddr));
        traceVideoTiming(&b.VideoTiming);
    }
    traceLine(file, "\n");
}

void resetTraceForTesting() {
    TraceState& state = traceState();
    state.file = platform::TraceFile();
    state.gateDecided = false;
    state.gateOn = false;
}

}  // namespace vext
