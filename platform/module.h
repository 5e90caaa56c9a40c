// A loaded library's handle and its attach notification.
#pragma once

namespace vext::platform {

// Identifies a loaded library: its instance handle on Win32; on the simulation, the library's
// resource directory (platform/dialog_template.h), which stands for the resource section.
using ModuleHandle = const void*;

// Defined by the library; the platform's library entry calls it on every process attach.
void moduleAttached(ModuleHandle module);

}  // namespace vext::platform
