// The TV-out settings record and its registry store.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/abi.h"

namespace vext {

struct TVOutPosition {
    uint16_t horizontal;
    uint16_t vertical;
};

// The one record that crosses between the driver, the panel and every process that maps the
// shared block: its layout is fixed to the byte.
struct TVOutStatus {
    uint16_t resolution;  // host resolution code; bit 0x80 on a Get asks for defaults only
    uint16_t enable;
    uint16_t outputDevice;  // 1 S-video, 2 composite, 3 both
    uint16_t dotCrawl;
    uint16_t flickerFilter;
    uint16_t tvOnly;
    uint16_t underscan;  // scan index: 0 overscan, 1 underscan
    uint16_t contrast;
    uint16_t brightness;
    TVOutPosition position[2];  // indexed by scan index
    uint8_t reserved[14];
};

static_assert(sizeof(TVOutStatus) == 40);
static_assert(offsetof(TVOutStatus, enable) == 2);
static_assert(offsetof(TVOutStatus, outputDevice) == 4);
static_assert(offsetof(TVOutStatus, dotCrawl) == 6);
static_assert(offsetof(TVOutStatus, flickerFilter) == 8);
static_assert(offsetof(TVOutStatus, tvOnly) == 10);
static_assert(offsetof(TVOutStatus, underscan) == 12);
static_assert(offsetof(TVOutStatus, contrast) == 14);
static_assert(offsetof(TVOutStatus, brightness) == 16);
static_assert(offsetof(TVOutStatus, position) == 18);
static_assert(offsetof(TVOutStatus, position[1].vertical) == 24);
static_assert(offsetof(TVOutStatus, reserved) == 26);

// HKEY_LOCAL_MACHINE key that holds the settings shared by all resolutions.
constexpr const char* kTVOutRootKey = "Software\\3Vav Interactive\\Dudezi2\\TVOut";
// Every value is REG_SZ decimal text stored in exactly this many bytes.
constexpr uint32_t kSettingDataSize = 50;

// Position a resolution without a TV timing in a scan mode reads when none is stored: the
// position that the timing table's unused entries carry.
constexpr uint16_t kNoTimingDefaultPosition = 16;

// Reads one value under the root key (or its subkey path, when given). A flagged resolution
// field, a missing key or value, or data above 50 bytes give the default; text without digits
// gives 0.
int32_t readTVOutSetting(uint32_t resolutionField, const char* subkey, const char* valueName,
                         int32_t defaultValue);
// Writes one value as 50 bytes of REG_SZ decimal text, creating missing keys.
void writeTVOutSetting(const char* subkey, const char* valueName, uint16_t value);

// Parses decimal text as the store reads it: leading white space, an optional sign, digits up to
// the first other character, at most length bytes. The result wraps in 32 bits.
int32_t parseSettingText(const char* text, size_t length);

// The default position of a resolution code (flag masked off) in a scan mode.
TVOutPosition defaultPosition(uint32_t resolutionField, uint32_t scan);

}  // namespace vext

extern "C" {
VEXT_EXPORT int32_t VEXT_STDCALL duvuzGetTVOutStatus(vext::TVOutStatus* status);
VEXT_EXPORT int32_t VEXT_STDCALL duvuzSetTVOutStatus(vext::TVOutStatus* status);
}
