// System facts on Win32.
#include "platform/system_facts.h"

#include <windows.h>

namespace vext::platform {

uint32_t windowsVersion() {
    return GetVersion();
}

bool windowsDirectory(char* buf, size_t size) {
    if (size == 0) {
        return false;
    }
    // Returns the length without the zero, or the size needed with it when buf is too small.
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(size));
    if (n == 0 || n >= size) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

bool programFileName(char* buf, size_t size) {
    if (size == 0) {
        return false;
    }
    // A name that does not fit is cut to the buffer, without its zero on some systems.
    DWORD n = GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(size));
    if (n == 0 || n >= size - 1) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

bool isLeadByte(char c) {
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0;
}

}  // namespace vext::platform
