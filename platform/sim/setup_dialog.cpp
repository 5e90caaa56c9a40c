// The setup dialog on the simulation: shown in the screen log, its buttons pressed as the
// answer script says. With no answer left the simulated user leaves with Cancel.
#include "platform/setup_dialog.h"

#include <string>

#include "platform/sim/setup_dialog_impl.h"
#include "platform/sim/ui_script.h"

namespace vext::platform {

namespace {

constexpr int kOkButton = 1000;
constexpr int kCancelButton = 1001;

}  // namespace

void SetupDialog::centreTopmost() {
    sim::logScreen("dialog VEXTSETUP: centred, topmost");
}

void SetupDialog::setItemText(int id, const char* text) {
    sim::logScreen("dialog VEXTSETUP: control " + std::to_string(id) + " shows " + text);
}

void SetupDialog::destroy() {
    if (!impl_->exists) {
        return;
    }
    impl_->exists = false;
    sim::logScreen("dialog VEXTSETUP: closed");
    impl_->handler->onDestroy(*this);
}

void SetupDialog::postQuit(int code) {
    impl_->quit = true;
    impl_->quitCode = code;
}

int runSetupDialog(SetupDialogHandler& handler) {
    SetupDialog::Impl impl;
    impl.handler = &handler;
    impl.exists = true;
    SetupDialog dialog(&impl);
    sim::logScreen("dialog VEXTSETUP: shown");
    handler.onInitDialog(dialog);
    while (!impl.quit && impl.exists) {
        std::string answer = sim::takeAnswer({"ok", "cancel"});
        int id = kCancelButton;
        if (answer == "ok") {
            id = kOkButton;
        } else if (answer.empty()) {
            sim::logScreen("dialog VEXTSETUP: no answer for it, the user leaves");
        }
        sim::logScreen(std::string("dialog VEXTSETUP: pressed ") +
                       (id == kOkButton ? "OK" : "Cancel"));
        handler.onCommand(dialog, id);
    }
    return impl.quitCode;
}

}  // namespace vext::platform
