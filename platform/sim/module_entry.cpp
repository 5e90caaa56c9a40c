// The library entry on the simulation: attaches the library when the process loads it, with its
// templates as the module handle.
#include "platform/dialog_template.h"
#include "platform/module.h"

namespace {

__attribute__((constructor)) void attachModule() {
    vext::platform::moduleAttached(&vext::platform::kModuleResources);
}

}  // namespace
