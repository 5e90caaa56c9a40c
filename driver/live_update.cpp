#include "driver/live_update.h"

#include "driver/encoder.h"
#include "driver/shared_block.h"

namespace vext {

void applyLiveSettings(const TVOutStatus* record) {
    if (record == nullptr || record->enable == 0 || mapSharedBlock() == 0) {
        return;
    }
    TVOutStatus& live = sharedBlock()->status;
    if (live.enable == 0 || live.resolution != record->resolution ||
        live.underscan != record->underscan) {
        return;
    }
    // Field by field: the host's process may read the live record meanwhile. The resolution,
    // enable and scan mode already match, or decide the video timing, which this leaves alone.
    live.outputDevice = record->outputDevice;
    live.dotCrawl = record->dotCrawl;
    live.flickerFilter = record->flickerFilter;
    live.tvOnly = record->tvOnly;
    live.contrast = record->contrast;
    live.brightness = record->brightness;
    for (int scan = 0; scan < 2; ++scan) {
        live.position[scan].horizontal = record->position[scan].horizontal;
        live.position[scan].vertical = record->position[scan].vertical;
    }
    waitRegister0Clear();
    programTVEncoder();
}

}  // namespace vext
