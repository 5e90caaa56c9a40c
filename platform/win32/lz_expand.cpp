// LZ expansion on Win32: LZ32 expands into a temporary file beside the target, which then
// replaces the target, so that a failed expansion never leaves a partial file.
#include "platform/lz_expand.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <lzexpand.h>

#include <cstring>

namespace vext::platform {

namespace {

constexpr unsigned char kSzddMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr DWORD kSzddHeaderSize = 14;

// Closes an LZ handle on every path.
struct LzFile {
    INT handle = -1;
    ~LzFile() {
        if (handle >= 0) {
            LZClose(handle);
        }
    }
};

// What the source's header says. LZCopy does not tell when compressed data ends early, so the
// length expanded is checked against the header's.
enum class Header { Missing, Plain, Compressed, Corrupt };

Header readHeader(const char* path, DWORD* expandedLength) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Header::Missing;
    }
    unsigned char header[kSzddHeaderSize] = {};
    DWORD got = 0;
    BOOL read = ReadFile(file, header, sizeof header, &got, nullptr);
    CloseHandle(file);
    if (!read) {
        return Header::Corrupt;
    }
    // A file cut inside the magic still shows what it was meant to be.
    DWORD compare = got < sizeof kSzddMagic ? got : sizeof kSzddMagic;
    if (got < 4 || std::memcmp(header, kSzddMagic, compare) != 0) {
        return Header::Plain;
    }
    if (got < kSzddHeaderSize || header[8] != 'A') {
        return Header::Corrupt;
    }
    *expandedLength =
        header[10] | header[11] << 8 | header[12] << 16 | static_cast<DWORD>(header[13]) << 24;
    return Header::Compressed;
}

// The header's length is the file's: some compressors end with padding that LZCopy expands too.
bool cutTo(const char* path, DWORD length) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool done = SetFilePointer(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) == length &&
                SetEndOfFile(file);
    CloseHandle(file);
    return done;
}

// The directory part of path, its last backslash kept, into dir; false when it does not fit.
bool directoryOf(const char* path, char* dir, size_t size) {
    const char* last = std::strrchr(path, '\\');
    size_t length = last != nullptr ? static_cast<size_t>(last - path + 1) : 0;
    if (length == 0 || length >= size) {
        return false;
    }
    std::memcpy(dir, path, length);
    dir[length] = '\0';
    return true;
}

}  // namespace

ExpandResult expandFile(const char* source, const char* target) {
    char sourcePath[MAX_PATH];
    char targetDir[MAX_PATH];
    char temporary[MAX_PATH];
    if (std::strlen(source) >= sizeof sourcePath) {
        return ExpandResult::SourceMissing;
    }
    std::strcpy(sourcePath, source);

    DWORD expandedLength = 0;
    Header header = readHeader(sourcePath, &expandedLength);
    if (header == Header::Missing) {
        return ExpandResult::SourceMissing;
    }
    if (header == Header::Corrupt) {
        return ExpandResult::SourceCorrupt;
    }

    OFSTRUCT ofs{};
    LzFile in;
    in.handle = LZOpenFileA(sourcePath, &ofs, OF_READ);
    if (in.handle < 0) {
        return in.handle == LZERROR_BADINHANDLE ? ExpandResult::SourceMissing
                                                : ExpandResult::SourceCorrupt;
    }
    if (!directoryOf(target, targetDir, sizeof targetDir) ||
        GetTempFileNameA(targetDir, "vxs", 0, temporary) == 0) {
        return ExpandResult::TargetFailed;
    }
    LONG copied;
    {
        OFSTRUCT outOfs{};
        LzFile out;
        out.handle = LZOpenFileA(temporary, &outOfs, OF_CREATE);
        if (out.handle < 0) {
            DeleteFileA(temporary);
            return ExpandResult::TargetFailed;
        }
        copied = LZCopy(in.handle, out.handle);
    }
    ExpandResult result = ExpandResult::Done;
    if (copied == LZERROR_WRITE || copied == LZERROR_BADOUTHANDLE) {
        result = ExpandResult::TargetFailed;
    } else if (copied < 0 ||
               (header == Header::Compressed && static_cast<DWORD>(copied) < expandedLength)) {
        result = ExpandResult::SourceCorrupt;
    } else if (header == Header::Compressed && static_cast<DWORD>(copied) > expandedLength &&
               !cutTo(temporary, expandedLength)) {
        result = ExpandResult::TargetFailed;
    } else if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        result = ExpandResult::TargetFailed;
    }
    if (result != ExpandResult::Done) {
        DeleteFileA(temporary);
    }
    return result;
}

}  // namespace vext::platform
