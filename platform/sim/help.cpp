// The help viewer on the simulation: each call is recorded, for tests and for the launcher to
// show, instead of opening a viewer.
#include "platform/help.h"

#include <cstdlib>

#include "platform/dialog_template.h"
#include "platform/sim/sim_help.h"

namespace vext::sim {

std::vector<HelpCall>& helpCalls() {
    static std::vector<HelpCall> calls;
    return calls;
}

}  // namespace vext::sim

namespace vext::platform {

bool showHelp(WindowHandle owner, const char* file, uint32_t command, const int32_t* table) {
    sim::helpCalls().push_back({controlId(owner), file != nullptr ? file : "", command, table});
    return true;
}

uint16_t systemDefaultLanguage() {
    const char* value = std::getenv(sim::kSystemLanguageVariable);
    if (value == nullptr || *value == '\0') {
        return kLangEnglishUS;
    }
    return static_cast<uint16_t>(std::strtoul(value, nullptr, 0));
}

}  // namespace vext::platform
