// Load handling of the driver module. The driver keeps no per-thread state, so it asks Windows
// not to call it for every thread that starts or ends in the host's process. Loading does no
// other work: the section, the trace file and the registry are touched only by the entry points.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
