// What setup asks the system about itself: the version word, the Windows directory and the
// program's own file name.
//
// The simulation answers from the simulation root (platform/sim/machine.h): a version word and
// a Windows directory that "vextsim system" sets, and the program's own path mapped to a drive.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vext::platform {

// The version word as GetVersion gives it: one of the top four bits set on Windows 95/98.
uint32_t windowsVersion();

// The Windows directory (no trailing backslash) into buf. False, with buf empty, when it is not
// known or does not fit into size bytes with its terminating zero.
bool windowsDirectory(char* buf, size_t size);

// The full path of the running program's file into buf. False, with buf empty, when it is not
// known or does not fit into size bytes with its terminating zero.
bool programFileName(char* buf, size_t size);

// True when c is the first byte of a double-byte character in the system's code page (Shift-JIS
// on a Japanese system), whose second byte may look like an ASCII letter or a backslash.
bool isLeadByte(char c);

}  // namespace vext::platform
