// The restart on Win32: the shutdown privilege, then ExitWindowsEx.
#include "platform/restart.h"

#include <windows.h>

namespace vext::platform {

namespace {

// Closes the token on every path.
struct Token {
    HANDLE handle = nullptr;
    ~Token() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
};

}  // namespace

bool enableShutdownPrivilege() {
    Token token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          &token.handle)) {
        token.handle = nullptr;
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        return false;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.handle, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when it could not enable the privilege.
    return GetLastError() == ERROR_SUCCESS;
}

bool requestRestart() {
    return ExitWindowsEx(EWX_REBOOT, 0) != 0;
}

}  // namespace vext::platform
