#include "platform/diagnostics.h"

#include <share.h>
#include <windows.h>

#include <cstdio>
#include <vector>

namespace vext::platform {

namespace {

FILE* stream(void* p) {
    return static_cast<FILE*>(p);
}

}  // namespace

bool readEnvironment(const char* name, std::string* value) {
    std::vector<char> buffer(64);
    for (;;) {
        DWORD length =
            GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            // Unset; an empty value reads the same, and no caller tells the two apart.
            return false;
        }
        if (length < buffer.size()) {
            value->assign(buffer.data(), length);
            return true;
        }
        buffer.resize(length);  // the size asked for, its NUL included
    }
}

void writeDebuggerOutput(const char* text) {
    OutputDebugStringA(text);
}

TraceFile TraceFile::create(const char* name) {
    // Text mode: the runtime stores every "\n" as "\r\n".
    return TraceFile(_fsopen(name, "wt", _SH_DENYNO));
}

void TraceFile::write(const char* text, size_t length) {
    if (stream_ == nullptr) {
        return;
    }
    std::fwrite(text, 1, length, stream(stream_));
    std::fflush(stream(stream_));
}

}  // namespace vext::platform
