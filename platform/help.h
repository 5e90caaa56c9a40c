// The help viewer, and the system's default language that chooses the help file.
#pragma once

#include <cstdint>

#include "platform/dialog.h"

namespace vext::platform {

// Help viewer command: show the topic of the control that asked, looking it up in a table of
// (control id, context number) pairs that ends with a pair of zeros.
constexpr uint32_t kHelpWmHelp = 0x000C;

bool showHelp(WindowHandle owner, const char* file, uint32_t command, const int32_t* table);

// The system default language id (not the user's).
uint16_t systemDefaultLanguage();

}  // namespace vext::platform
