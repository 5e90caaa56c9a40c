// The installation files: where each comes from on the medium and where it goes under the
// Windows directory.
#pragma once

#include <cstdint>

namespace vext::setup {

struct CopyRecord {
    char sourceName[14];  // file name on the medium, zero-padded
    char targetName[14];  // file name to create, zero-padded
    int16_t directory;    // index into kDirectories
};

constexpr int kDirectoryCount = 3;
constexpr int kCopyRecordCount = 12;

// Relative to the Windows directory, each ending in a backslash.
extern const char kDirectories[kDirectoryCount][20];
extern const CopyRecord kCopyTable[kCopyRecordCount];

}  // namespace vext::setup
