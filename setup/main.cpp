// vextsetup: the installer of the TV-out driver and panel for Windows NT 4.0.
#include "setup/setup_run.h"

int main() {
    return vext::setup::runSetup();
}
