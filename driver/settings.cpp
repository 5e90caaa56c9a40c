#include "driver/settings.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "driver/live_update.h"
#include "driver/tables.h"
#include "platform/registry.h"

namespace vext {

using platform::RegKey;
using platform::RegRoot;

namespace {

struct RootSetting {
    const char* valueName;
    uint16_t TVOutStatus::*field;
    int32_t defaultValue;
};

// The seven values that hold for all resolutions, in the order they are read and written.
const RootSetting kRootSettings[] = {
    {"DIZA2_TVOUT", &TVOutStatus::enable, 0},
    {"DIZA2_TVOUT_OUTDEV", &TVOutStatus::outputDevice, 3},
    {"DIZA2_TVOUT_DOTCRAWL", &TVOutStatus::dotCrawl, 0},
    {"DIZA2_TVOUT_FILTER", &TVOutStatus::flickerFilter, 0},
    {"DIZA2_TVOUT_TVONLY", &TVOutStatus::tvOnly, 0},
    {"DIZA2_TVOUT_CONTRAST", &TVOutStatus::contrast, 3},
    {"DIZA2_TVOUT_BRIGHTNESS", &TVOutStatus::brightness, 127},
};

constexpr const char* kUnderscanValue = "DIZA2_TVOUT_UNDERSCAN";
constexpr const char* kHorizontalValue = "DIZA2_TVOUT_HORIZONTAL";
constexpr const char* kVerticalValue = "DIZA2_TVOUT_VERTICAL";

std::string keyPath(const char* subkey) {
    std::string path = kTVOutRootKey;
    if (subkey != nullptr) {
        path += '\\';
        path += subkey;
    }
    return path;
}

std::string scanSubkey(const char* resolution, uint32_t scan) {
    return std::string(resolution) + "\\" + scanName(scan);
}

}  // namespace

int32_t parseSettingText(const char* text, size_t length) {
    size_t i = 0;
    while (i < length && text[i] != '\0' && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    while (i < length && text[i] >= '0' && text[i] <= '9') {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

int32_t readTVOutSetting(uint32_t resolutionField, const char* subkey, const char* valueName,
                         int32_t defaultValue) {
    if ((resolutionField & kDefaultsOnlyFlag) != 0) {
        return defaultValue;
    }
    RegKey key = RegKey::open(RegRoot::LocalMachine, keyPath(subkey).c_str());
    if (!key) {
        return defaultValue;
    }
    char data[kSettingDataSize];
    uint32_t size = sizeof data;
    if (!key.query(valueName, data, &size)) {
        return defaultValue;
    }
    return parseSettingText(data, size);
}

void writeTVOutSetting(const char* subkey, const char* valueName, uint16_t value) {
    RegKey key = RegKey::create(RegRoot::LocalMachine, keyPath(subkey).c_str());
    if (!key) {
        return;
    }
    // The text, its NUL and zeros up to the fixed data size.
    char data[kSettingDataSize] = {};
    std::snprintf(data, sizeof data, "%d", static_cast<int>(value));
    key.setString(valueName, data, sizeof data);
}

TVOutPosition defaultPosition(uint32_t resolutionField, uint32_t scan) {
    uint32_t index = tvTimingIndex(resolutionField & 0x7F, scan);
    if (index == kNoTVTiming) {
        return {kNoTimingDefaultPosition, kNoTimingDefaultPosition};
    }
    const TVTimingEntry& entry = TVTimingTable[index];
    return {entry.defaultHorizontal, entry.defaultVertical};
}

}  // namespace vext

using namespace vext;

extern "C" int32_t VEXT_STDCALL duvuzGetTVOutStatus(TVOutStatus* status) {
    if (status == nullptr) {
        return 0;
    }
    const uint32_t field = status->resolution;
    for (const RootSetting& setting : kRootSettings) {
        status->*setting.field = static_cast<uint16_t>(
            readTVOutSetting(field, nullptr, setting.valueName, setting.defaultValue));
    }
    const char* name = resolutionName(field);
    status->underscan = static_cast<uint16_t>(readTVOutSetting(field, name, kUnderscanValue, 0));
    for (uint32_t scan = 0; scan < 2; ++scan) {
        TVOutPosition fallback = defaultPosition(field, scan);
        std::string subkey = scanSubkey(name, scan);
        TVOutPosition& position = status->position[scan];
        position.horizontal = static_cast<uint16_t>(
            readTVOutSetting(field, subkey.c_str(), kHorizontalValue, fallback.horizontal));
        position.vertical = static_cast<uint16_t>(
            readTVOutSetting(field, subkey.c_str(), kVerticalValue, fallback.vertical));
    }
    return 0;
}

extern "C" int32_t VEXT_STDCALL duvuzSetTVOutStatus(TVOutStatus* status) {
    if (status == nullptr) {
        return 0;
    }
    for (const RootSetting& setting : kRootSettings) {
        writeTVOutSetting(nullptr, setting.valueName, status->*setting.field);
    }
    const char* name = resolutionName(status->resolution);
    writeTVOutSetting(name, kUnderscanValue, status->underscan);
    for (uint32_t scan = 0; scan < 2; ++scan) {
        std::string subkey = scanSubkey(name, scan);
        writeTVOutSetting(subkey.c_str(), kHorizontalValue, status->position[scan].horizontal);
        writeTVOutSetting(subkey.c_str(), kVerticalValue, status->position[scan].vertical);
    }
    applyLiveSettings(status);
    return 0;
}
