// Who uses the dialog that vextpanel opens: on Windows the person at the screen; on the
// simulation, a script of user actions given on the command line.
#pragma once

#include <cstdint>

namespace vext::launcher {

// Reads the command line; false, after a message, when it is not understood.
bool PrepareUser(int argc, char** argv);
// Reports how TVOutControl ended.
void FinishUser(int32_t result);

}  // namespace vext::launcher
