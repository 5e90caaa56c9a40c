// The library entry on Windows: keeps the instance handle of the library on process attach.
#include <windows.h>

#include "platform/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vext::platform::moduleAttached(instance);
    }
    return TRUE;
}
