// The help viewer on Windows: WinHelp.
#include "platform/help.h"

#include <windows.h>

namespace vext::platform {

bool showHelp(WindowHandle owner, const char* file, uint32_t command, const int32_t* table) {
    return WinHelpA(static_cast<HWND>(owner), file, command, reinterpret_cast<ULONG_PTR>(table)) !=
           FALSE;
}

uint16_t systemDefaultLanguage() {
    return GetSystemDefaultLangID();
}

}  // namespace vext::platform
