// The modeless setup dialog "VEXTSETUP" and the message loop that runs it.
//
// Win32 creates the dialog from the program's resources and runs a GetMessage loop with
// IsDialogMessage. The simulation keeps a headless dialog: it logs what the dialog shows and
// presses its buttons as the answer script of the simulation root says (platform/sim/ui_script.h).
#pragma once

namespace vext::platform {

class SetupDialog;

// What the program does with the dialog's messages.
class SetupDialogHandler {
  public:
    virtual ~SetupDialogHandler() = default;
    virtual void onInitDialog(SetupDialog& dialog) = 0;
    virtual void onCommand(SetupDialog& dialog, int id) = 0;
    virtual void onDestroy(SetupDialog& dialog) = 0;
};

class SetupDialog {
  public:
    // Centres the dialog on the desktop and places it above all non-topmost windows.
    void centreTopmost();
    // Sets the text of a control (a path, in the system's code page).
    void setItemText(int id, const char* text);
    // Destroys the dialog; the handler's onDestroy runs before this returns.
    void destroy();
    // Ends the message loop; runSetupDialog returns code.
    void postQuit(int code);

    struct Impl;
    explicit SetupDialog(Impl* impl) : impl_(impl) {}
    Impl* impl() const { return impl_; }

  private:
    Impl* impl_;
};

// Creates the dialog with no owner, runs the message loop until the quit message and returns
// the quit code; -1 when the dialog could not be created.
int runSetupDialog(SetupDialogHandler& handler);

}  // namespace vext::platform
