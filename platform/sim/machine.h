// The simulated Windows machine of a simulation root, as setup sees it.
//
// "machine.txt" in the root holds its facts, one "name=value" a line, each with a default:
//   version=0x05650004      the GetVersion word (Windows NT 4.0; 0xC0000A04 is Windows 98)
//   windows=C:\WINNT        the Windows directory
//   program=D:\SETUP\VEXTSETUP.EXE   the running program's path, when it is to be other than
//                                    the real one (which shows on drive Z:)
//   codepage=932            the system code page, for its double-byte characters (default: none)
//
// Drives: Z: is the host's root directory, as under wine; every other drive X: is the directory
// "drive_x" of the simulation root. Names compare without regard to case, as on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace vext::sim {

constexpr uint32_t kVersionNT4 = 0x05650004;    // 4.0, build 1381
constexpr uint32_t kVersionWin95 = 0xC3B60004;  // 4.0, build 950
constexpr uint32_t kVersionWin98 = 0xC0000A04;  // 4.10
constexpr const char* kDefaultWindowsDirectory = "C:\\WINNT";

// A fact of machine.txt, or fallback when it is not set.
std::string machineFact(const std::string& name, const std::string& fallback = "");
// Sets (or, with an empty value, removes) a fact; false when the file cannot be written.
bool setMachineFact(const std::string& name, const std::string& value);

uint32_t machineVersion();
std::string machineWindowsDirectory();

// The host path of a Windows path ("C:\WINNT\help" or "z:\tmp\medium\a.hl_"). Each existing
// component is found without regard to case; the rest are taken as written. Empty when the path
// has no drive.
std::string hostPath(const std::string& windowsPath);
// The Windows path of a host path: inside a drive_x directory of the root on X:, else on Z:.
std::string windowsPathOf(const std::string& hostPath);

// Creates the Windows directory with help, system32 and system32\drivers, and the registry's
// services key, as an installed system has them. Does nothing that exists already.
void prepareWindows();

}  // namespace vext::sim
