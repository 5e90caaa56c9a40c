// The registry entries that make Windows NT use the installed files: the display property-sheet
// extension, the chip set's keys and the three kernel driver services.
#pragma once

namespace vext::setup {

// Every key is opened or created and every value overwritten, so that a second run leaves the
// registry as the first did. Goes on past a failed write; true when every write succeeded.
bool registerSetupEntries();

}  // namespace vext::setup
