// Modal dialogs and the controls the panel uses: buttons, static texts and trackbars.
//
// Win32 runs the real dialog from the module's resources. The simulation holds a headless model
// of the dialog (platform/sim/sim_dialog.h) that keeps each control's state and sends the
// dialog procedure the same messages, with the same numbers, as Windows does.
#pragma once

#include <cstdint>

#include "platform/module.h"

namespace vext::platform {

// A window: HWND on Win32, a window of the dialog model on the simulation.
using WindowHandle = void*;

// The dialog procedure: TRUE (1) when it handled the message, FALSE (0) for the platform's
// default dialog handling. The arguments are the message's own, as Windows defines them.
using DialogProc = intptr_t (*)(WindowHandle dialog, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);

namespace msg {
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kNotify = 0x004E;
constexpr uint32_t kHelp = 0x0053;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kInitDialog = 0x0110;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kHScroll = 0x0114;
constexpr uint32_t kVScroll = 0x0115;
}  // namespace msg

// Scroll code of a trackbar's last notification of a drag or key press.
constexpr uint32_t kTbEndTrack = 8;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr uint32_t kButtonChecked = 1;

inline uint32_t lowWord(uintptr_t value) {
    return static_cast<uint32_t>(value & 0xFFFF);
}

// Runs dialog templateId of module as a modal dialog owned by owner (may be null). Returns the
// value given to endDialog, or -1 when the dialog cannot be created (a control class that the
// process has not registered, for one).
intptr_t runModalDialog(ModuleHandle module, int templateId, WindowHandle owner, DialogProc proc);
void endDialog(WindowHandle dialog, intptr_t result);

WindowHandle dialogItem(WindowHandle dialog, int id);
int controlId(WindowHandle control);
// The control that a help request (the lParam of msg::kHelp) names.
WindowHandle helpRequestItem(intptr_t lParam);

void setItemText(WindowHandle dialog, int id, const char* text);
void enableItem(WindowHandle dialog, int id, bool enable);

// Buttons: a click acts as the user's (an auto radio button checks itself and clears the others
// of its group, and the dialog gets the command); checking changes the state alone.
void clickButton(WindowHandle dialog, int id);
void checkButton(WindowHandle dialog, int id, uint32_t state);
uint32_t buttonState(WindowHandle dialog, int id);

// Trackbars (class msctls_trackbar32). Limits travel as 16-bit values, as the control takes
// them; positions are set with redraw.
void setTrackbarRange(WindowHandle dialog, int id, int minimum, int maximum);
void setTrackbarTickFrequency(WindowHandle dialog, int id, int frequency);
void setTrackbarPosition(WindowHandle dialog, int id, int position);
int trackbarPosition(WindowHandle dialog, int id);

// Invalidates the whole window with erasing, so that it is painted again.
void invalidateWindow(WindowHandle window);

struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

// The control's window rectangle in the client coordinates of the dialog.
Rect itemRectInClient(WindowHandle dialog, int id);

// Registers the common control classes, the trackbar among them, for this process. Programs call
// it before they run a dialog that holds trackbars; the libraries never do.
void registerCommonControls();

}  // namespace vext::platform
