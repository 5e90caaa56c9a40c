#include "platform/diagnostics.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sim/simroot.h"

namespace vext::platform {

namespace {

// The simulated machine's debugger output: one file per simulation root.
constexpr const char* kDebugOutputFile = "debug-output.log";

FILE* stream(void* p) {
    return static_cast<FILE*>(p);
}

}  // namespace

bool readEnvironment(const char* name, std::string* value) {
    const char* text = std::getenv(name);
    if (text == nullptr) {
        return false;
    }
    *value = text;
    return true;
}

void writeDebuggerOutput(const char* text) {
    // One append of the whole line, so that lines of several processes never mix.
    int fd = ::open(sim::simPath(kDebugOutputFile).c_str(),
                    O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    ssize_t ignored = ::write(fd, text, std::strlen(text));
    (void)ignored;
    ::close(fd);
}

TraceFile TraceFile::create(const char* name) {
    // Binary: the line ends are translated here, as the Windows runtime does for a text stream.
    return TraceFile(std::fopen(name, "wb"));
}

void TraceFile::write(const char* text, size_t length) {
    if (stream_ == nullptr) {
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n') {
            std::fputc('\r', stream(stream_));
        }
        std::fputc(text[i], stream(stream_));
    }
    std::fflush(stream(stream_));
}

}  // namespace vext::platform
