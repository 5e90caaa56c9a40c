// On Windows the dialog is the user's: vextpanel takes no arguments.
#include "panel/launcher/launcher_user.h"

namespace vext::launcher {

bool PrepareUser(int, char**) {
    return true;
}
void FinishUser(int32_t) {}

}  // namespace vext::launcher
