#include "panel/tvout_panel.h"

#include <cstring>

#include "platform/registry.h"

namespace vext {

namespace {

// Bit of the resolution field that asks vextlink for its defaults instead of the stored values.
constexpr uint16_t kDefaultsFlag = 0x80;

// Size of the buffer that takes the display driver's name.
constexpr uint32_t kDriverNameBufferSize = 50;

}  // namespace

TVOutPanel::TVOutPanel()
    : resolutionCount(4),
      resolutions{{3, 512, 384, 16}, {6, 640, 400, 16}, {7, 640, 480, 16}, {8, 800, 600, 16}},
      contrastLimits{7, 0, 1},
      brightnessLimits{208, 90, 11},
      horizontalLimits{255, 0, 16},
      verticalLimits{255, 0, 16},
      driverName("VEXTA"),
      driverKeyPath("hardware\\DirectDrawDrivers\\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2"),
      driverValueName("DriverName") {}

int32_t TVOutPanel::IndexOfResolution(int32_t code) const {
    for (int32_t i = 0; i < resolutionCount; ++i) {
        if (resolutions[i].code == code) {
            return i;
        }
    }
    return -1;
}

void TVOutPanel::mirrorVertical(TVOutStatus* record) const {
    const auto mirror = static_cast<uint16_t>(verticalLimits.maximum);
    for (TVOutPosition& position : record->position) {
        position.vertical = static_cast<uint16_t>(mirror - position.vertical);
    }
}

int32_t TVOutPanel::read(TVOutStatus* record, int32_t code, uint16_t flag) const {
    std::memset(record, 0, sizeof *record);
    if (IndexOfResolution(code) == -1) {
        return 0;
    }
    record->resolution = static_cast<uint16_t>(code | flag);
    duvuzGetTVOutStatus(record);
    record->resolution &= static_cast<uint16_t>(~flag);
    mirrorVertical(record);
    return 1;
}

int32_t TVOutPanel::ReadSettings(TVOutStatus* record, int32_t code) const {
    return read(record, code, 0);
}

int32_t TVOutPanel::ReadDefaultSettings(TVOutStatus* record, int32_t code) const {
    return read(record, code, kDefaultsFlag);
}

int32_t TVOutPanel::ApplySettings(const TVOutStatus* record) const {
    TVOutStatus driverRecord = *record;
    mirrorVertical(&driverRecord);
    duvuzSetTVOutStatus(&driverRecord);
    return 1;
}

int32_t TVOutPanel::IsBoardDisplayDriver() const {
    platform::RegKey key =
        platform::RegKey::openAllAccess(platform::RegRoot::LocalMachine, driverKeyPath);
    if (!key) {
        return 0;
    }
    char name[kDriverNameBufferSize] = {};
    uint32_t size = sizeof name;
    uint32_t type = platform::kRegSz;
    if (!key.query(driverValueName, name, &size, &type)) {
        return 0;
    }
    // Bounded by the buffer: a stored name of 50 bytes without a terminator ends there.
    return std::strncmp(driverName, name, sizeof name) == 0 ? 1 : 0;
}

void CopyCommonSettings(const TVOutStatus* source, TVOutStatus* records, int32_t count) {
    // Copied first, so that a source among the records is read before any record changes.
    const TVOutStatus common = *source;
    for (int32_t i = 0; i < count; ++i) {
        TVOutStatus& record = records[i];
        record.enable = common.enable;
        record.outputDevice = common.outputDevice;
        record.dotCrawl = common.dotCrawl;
        record.flickerFilter = common.flickerFilter;
        record.tvOnly = common.tvOnly;
        record.contrast = common.contrast;
        record.brightness = common.brightness;
    }
}

}  // namespace vext
