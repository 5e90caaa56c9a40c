// LZ expansion of one installation file: the setup copy of a compressed ("SZDD") or plain file.
//
// Win32 expands with LZ32 (LZOpenFileA, LZCopy, LZClose). The simulation expands with our own
// SZDD reader (platform/sim/szdd.h) and maps the Windows paths into the simulation root.
#pragma once

namespace vext::platform {

enum class ExpandResult {
    Done,           // the target holds the expanded file
    SourceMissing,  // the source could not be opened; the target was not touched
    SourceCorrupt,  // the source is compressed but cannot be expanded; the target was not touched
    TargetFailed,   // the target could not be written; an earlier target file was kept
};

// Expands source into target. A compressed source is expanded, any other file copied unchanged.
// The target is replaced only by a complete file: on any failure no partial file is left.
ExpandResult expandFile(const char* source, const char* target);

}  // namespace vext::platform
