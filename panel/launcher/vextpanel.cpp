// vextpanel: opens the TV-out settings panel without the display property sheet, which is what
// opens it otherwise. Like any caller of TVOutControl, it registers the common controls (the
// trackbar among them) first, and it has no window of its own to give as the owner.
#include <cstdio>

#include "panel/launcher/launcher_user.h"
#include "panel/tvout_dialog.h"
#include "platform/dialog.h"

int main(int argc, char** argv) {
    if (!vext::launcher::PrepareUser(argc, argv)) {
        return 2;
    }
    vext::platform::registerCommonControls();
    const int32_t result = TVOutControl(nullptr);
    vext::launcher::FinishUser(result);
    return result == 1 ? 0 : 1;
}
