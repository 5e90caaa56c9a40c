// The headless setup dialog of the simulation, shared by its dialog and message-box code.
#pragma once

#include "platform/setup_dialog.h"

namespace vext::platform {

struct SetupDialog::Impl {
    SetupDialogHandler* handler = nullptr;
    bool exists = false;
    bool quit = false;
    int quitCode = 0;
};

}  // namespace vext::platform
