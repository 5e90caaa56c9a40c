// What the driver's diagnostic trace needs from the platform: the process environment, the
// debugger output, and a text file whose line ends are carriage return and line feed.
//
// Win32: GetEnvironmentVariableA, OutputDebugStringA, and a text-mode C stream shared with other
// readers and writers. The simulation: the process environment, the debugger output appended to
// "debug-output.log" in the simulation root (a debugger attached to the simulated machine sees
// every process's lines there), and a file that stores each "\n" as "\r\n" as Windows does.
#pragma once

#include <cstddef>
#include <string>

namespace vext::platform {

// The value of an environment variable of this process; false when it is not set.
bool readEnvironment(const char* name, std::string* value);

// Passes one NUL-terminated line, its "\n" included, to the debugger output.
void writeDebuggerOutput(const char* text);

// A text file opened for writing in the current directory, created or truncated, shared with
// other readers and writers. Every "\n" written is stored as "\r\n". Written text reaches the file
// before write returns, so a crash loses nothing already traced. Closed when the object ends.
class TraceFile {
  public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(TraceFile&& other) noexcept;
    TraceFile& operator=(TraceFile&& other) noexcept;
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Invalid when the file cannot be created.
    static TraceFile create(const char* name);

    bool valid() const { return stream_ != nullptr; }
    explicit operator bool() const { return valid(); }

    // Writes length bytes of text; write errors are ignored.
    void write(const char* text, size_t length);

  private:
    explicit TraceFile(void* stream) : stream_(stream) {}
    void close();
    void* stream_ = nullptr;
};

}  // namespace vext::platform
