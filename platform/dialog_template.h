// Dialog templates as data, with the style bits numbered as Windows numbers them.
//
// On Win32 the dialogs come from the module's resources. The simulation has no resource section:
// a library hands the simulation its templates through its module handle, and the Win32 tests
// compare the real dialog with the same table.
#pragma once

#include <cstdint>
#include <vector>

namespace vext::platform {

namespace style {
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kChild = 0x40000000;
constexpr uint32_t kVisible = 0x10000000;
constexpr uint32_t kDisabled = 0x08000000;
constexpr uint32_t kCaption = 0x00C00000;
constexpr uint32_t kSysMenu = 0x00080000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kTabStop = 0x00010000;

constexpr uint32_t kDsSetFont = 0x0040;
constexpr uint32_t kDsModalFrame = 0x0080;
constexpr uint32_t kDsCenter = 0x0800;
constexpr uint32_t kDsContextHelp = 0x2000;

constexpr uint32_t kBsPushButton = 0x0;
constexpr uint32_t kBsDefPushButton = 0x1;
constexpr uint32_t kBsAutoCheckBox = 0x3;
constexpr uint32_t kBsGroupBox = 0x7;
constexpr uint32_t kBsAutoRadioButton = 0x9;
constexpr uint32_t kBsTypeMask = 0xF;

constexpr uint32_t kSsLeft = 0x0;
constexpr uint32_t kSsIcon = 0x3;
constexpr uint32_t kSsGrayFrame = 0x8;
constexpr uint32_t kSsTypeMask = 0x1F;
constexpr uint32_t kSsSunken = 0x1000;

constexpr uint32_t kTbsAutoTicks = 0x1;
constexpr uint32_t kTbsVert = 0x2;
constexpr uint32_t kTbsTop = 0x4;
constexpr uint32_t kTbsBoth = 0x8;
constexpr uint32_t kTbsEnableSelRange = 0x20;
}  // namespace style

constexpr const char* kButtonClass = "BUTTON";
constexpr const char* kStaticClass = "STATIC";
constexpr const char* kTrackbarClass = "msctls_trackbar32";

// Windows language ids.
constexpr uint16_t kLangEnglishUS = 0x0409;
constexpr uint16_t kLangJapanese = 0x0411;

struct DialogItemTemplate {
    int id;  // -1 is stored as 0xFFFF
    const char* className;
    const char* text;  // UTF-8; for an icon, the icon's resource number in iconId
    int iconId;        // 0 unless the item shows an icon resource
    uint32_t style;    // every bit, WS_CHILD and WS_VISIBLE included
    int x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
    int resourceId;
    uint16_t language;
    uint32_t style;
    const char* caption;   // UTF-8
    const char* fontFace;  // UTF-8
    int fontSize;
    int cx, cy;
    const DialogItemTemplate* items;
    int itemCount;
};

// A bitmap resource of 8 bits per pixel: palette indices in rows from the top, and the palette
// as 0xRRGGBB.
struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> palette;
};

// Makes bitmap resourceId; false when the library has none of that number.
using BitmapLoader = bool (*)(int resourceId, BitmapImage* image);

// What a library offers the simulation in place of its resource section.
struct ModuleResources {
    const DialogTemplate* dialogs;
    int dialogCount;
    BitmapLoader bitmap;  // null when the library has no bitmaps
};

}  // namespace vext::platform

namespace vext::platform {

// Defined by a library that holds dialogs: its templates, which the simulation's library entry
// hands over as the module handle.
extern const ModuleResources kModuleResources;

}  // namespace vext::platform
