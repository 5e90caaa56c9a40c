// Restarting the machine at the end of setup.
//
// The simulation never restarts anything: it records each request in the simulation root
// ("restart.log") so that a person or a test can see that it was made.
#pragma once

namespace vext::platform {

// Enables the shutdown privilege in the process's token; true when it could be enabled.
bool enableShutdownPrivilege();

// Asks the system to restart (ExitWindowsEx with EWX_REBOOT); true when the request was taken.
bool requestRestart();

}  // namespace vext::platform
