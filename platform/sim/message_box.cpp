// Message boxes on the simulation: logged, and answered from the answer script. Without a
// fitting answer the box's default (first) button is taken, as Enter would.
#include "platform/message_box.h"

#include <string>

#include "platform/sim/ui_script.h"

namespace vext::platform {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

}  // namespace

int showMessageBox(SetupDialog* owner, const char* text, const char* caption, uint32_t style) {
    const bool yesNo = (style & 0x0F) == kMbYesNo;
    const char* icon = (style & 0xF0) == kMbIconWarning    ? "warning"
                       : (style & 0xF0) == kMbIconQuestion ? "question"
                                                           : "none";
    sim::logScreen(std::string("message box") + (owner != nullptr ? " (owned by the dialog)" : "") +
                   ", " + icon + ", " + (yesNo ? "Yes/No" : "OK") + ": \"" + sim::toUtf8(caption) +
                   "\" \"" + escaped(sim::toUtf8(text)) + "\"");
    std::string answer = yesNo ? sim::takeAnswer({"yes", "no"}) : sim::takeAnswer({"ok"});
    int id = yesNo ? kIdYes : kIdOk;
    if (answer == "no") {
        id = kIdNo;
    } else if (answer.empty()) {
        sim::logScreen("message box: no answer for it, the default button");
    }
    sim::logScreen(std::string("message box: pressed ") +
                   (id == kIdNo ? "No" : (id == kIdYes ? "Yes" : "OK")));
    return id;
}

}  // namespace vext::platform
