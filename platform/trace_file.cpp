// The trace file's lifetime, the same on every platform: a C stream owned by the object.
#include <cstdio>

#include "platform/diagnostics.h"

namespace vext::platform {

namespace {

FILE* stream(void* p) {
    return static_cast<FILE*>(p);
}

}  // namespace

void TraceFile::close() {
    if (stream_ != nullptr) {
        std::fclose(stream(stream_));
        stream_ = nullptr;
    }
}

TraceFile::~TraceFile() {
    close();
}

TraceFile::TraceFile(TraceFile&& other) noexcept : stream_(other.stream_) {
    other.stream_ = nullptr;
}

TraceFile& TraceFile::operator=(TraceFile&& other) noexcept {
    if (this != &other) {
        close();
        stream_ = other.stream_;
        other.stream_ = nullptr;
    }
    return *this;
}

}  // namespace vext::platform
