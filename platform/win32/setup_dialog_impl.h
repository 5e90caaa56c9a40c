// The setup dialog's window on Win32, shared by its dialog and message-box code.
#pragma once

#include <windows.h>

#include "platform/setup_dialog.h"

namespace vext::platform {

struct SetupDialog::Impl {
    SetupDialogHandler* handler = nullptr;
    HWND window = nullptr;  // null once the dialog is destroyed
};

}  // namespace vext::platform
