// The diagnostic trace: with "GDBG_LEVEL" at 80 or more, the main entry points record their calls
// in "oemdll.txt" in the current directory and on the debugger output. It is the driver's only
// diagnostic output, and it never changes what an entry point does or returns.
#pragma once

#include "driver/host_records.h"
#include "platform/diagnostics.h"

namespace vext {

// Levels from this value up switch the trace on.
constexpr int kTraceThreshold = 80;
constexpr const char* kTraceLevelVariable = "GDBG_LEVEL";
constexpr const char* kTraceFileName = "oemdll.txt";
// Every formatted line passes through a buffer of this size on its way to the debugger output.
constexpr size_t kTraceLineBufferSize = 256;

// The heading of one entry point call ("name: "), with the board record dumped when given, and an
// empty line. Reads the level at every call; opens the trace file on the first call that traces.
void traceEntry(const char* name, const BoardInfo* board);

// The 14 lines of one timing record. Writes nothing while the trace file is not open.
void traceVideoTiming(const VideoTimingInfo* timing);

// One printf-formatted line onto the stream, when given, and onto the debugger output. The first
// call of the process decides, from the level then, whether lines are written at all.
void traceLine(platform::TraceFile* stream, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Tests only: closes the trace file and forgets the line gate, as a new process starts.
void resetTraceForTesting();

}  // namespace vext
