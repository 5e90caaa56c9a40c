// Registering the common controls on Windows, for programs that show the panel's dialog.
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include "platform/dialog.h"

namespace vext::platform {

void registerCommonControls() {
    InitCommonControls();
}

}  // namespace vext::platform
