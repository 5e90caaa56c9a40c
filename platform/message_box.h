// Message boxes of setup. Texts and captions are Shift-JIS (code page 932).
//
// Win32 shows them through the wide API after converting from code page 932, so that they read
// right on any system that has that code page, and passes the bytes unchanged where it has not.
// The simulation takes the user's answer from the root's answer script and logs what was shown.
#pragma once

#include <cstdint>

namespace vext::platform {

class SetupDialog;

// Styles and answers as Windows numbers them.
constexpr uint32_t kMbOk = 0x00;
constexpr uint32_t kMbYesNo = 0x04;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconWarning = 0x30;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows a message box owned by owner (none when null) and returns the button pressed, or 0 when
// the box could not be shown.
int showMessageBox(SetupDialog* owner, const char* text, const char* caption, uint32_t style);

}  // namespace vext::platform
