// The restart on the simulation: recorded in "restart.log" of the root, never performed.
#include "platform/restart.h"

#include <fstream>

#include "platform/sim/simroot.h"
#include "platform/sim/ui_script.h"

namespace vext::platform {

bool enableShutdownPrivilege() {
    return true;  // the simulated user may always shut down
}

bool requestRestart() {
    std::ofstream log(sim::simPath("restart.log"), std::ios::app);
    log << "restart requested (EWX_REBOOT)\n";
    sim::logScreen("restart requested (EWX_REBOOT), recorded in restart.log");
    return static_cast<bool>(log);
}

}  // namespace vext::platform
