// The live settings update: a settings change for the mode that is on the TV reaches the encoder
// at once, from whichever process made it.
#pragma once

#include "driver/settings.h"

namespace vext {

// Run by duvuzSetTVOutStatus after the registry writes. When record is enabled and matches the
// live resolution and scan mode of an enabled live block, copies its settings into the live
// record and reprograms the encoder; otherwise changes nothing.
void applyLiveSettings(const TVOutStatus* record);

}  // namespace vext
