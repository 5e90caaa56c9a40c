// Dialog 101 in English and Japanese as data: what the simulation shows, and what the Win32
// tests compare the dialog of the resource file (vexttune.rc) with.
#include "panel/resources/dialog101.h"

#include <utility>

#include "panel/resources/test_bitmaps.h"
#include "platform/dialog_template.h"

namespace vext {

namespace {

using platform::DialogItemTemplate;
using platform::DialogTemplate;
using platform::kButtonClass;
using platform::kStaticClass;
using platform::kTrackbarClass;
using namespace platform::style;

constexpr uint32_t kCV = kChild | kVisible;
constexpr uint32_t kSlider12 = kCV | kTbsAutoTicks | kTbsBoth | kTbsEnableSelRange;

// Both languages share the controls and their order; the texts and five placements differ.
#define VEXT_DIALOG101_ITEMS(CANCEL, OVERSCAN, UNDERSCAN, SVIDEO, COMPOSITE, BOTH, TVONLY,           \
                             DOTCRAWL, FLICKER, DEFAULT, TEST, POSITION, OUTPUT, SCAN, CONTRAST,     \
                             RESO, X1022, Y1022, X1023, Y1023, Y1007, Y1008, CY1011)                 \
    {1022, kStaticClass, "", 117, kCV | kSsIcon, X1022, Y1022, 20, 20},                              \
        {1023, kStaticClass, "", 116, kCV | kSsIcon, X1023, Y1023, 20, 20},                          \
        {1, kButtonClass, "OK", 0, kCV | kBsDefPushButton | kGroup | kTabStop, 185, 123, 60, 10},    \
        {2, kButtonClass, CANCEL, 0, kCV | kBsPushButton | kTabStop, 185, 138, 60, 10},              \
        {1007, kTrackbarClass, "Slider1", 0, kSlider12 | kGroup | kTabStop, 33, Y1007, 122, 13},     \
        {1008, kTrackbarClass, "Slider2", 0, kSlider12 | kTabStop, 33, Y1008, 122, 13},              \
        {1011,                                                                                       \
         kTrackbarClass,                                                                             \
         "Slider3",                                                                                  \
         0,                                                                                          \
         kCV | kTbsAutoTicks | kTbsTop | kGroup | kTabStop,                                          \
         33,                                                                                         \
         88,                                                                                         \
         45,                                                                                         \
         CY1011},                                                                                    \
        {1009, kButtonClass, OVERSCAN, 0, kCV | kBsAutoRadioButton | kGroup | kTabStop,              \
         17,   120,          57,       8},                                                           \
        {1010, kButtonClass, UNDERSCAN, 0, kCV | kBsAutoRadioButton, 17, 132, 55, 8},                \
        {1015,                                                                                       \
         kTrackbarClass,                                                                             \
         "Slider1",                                                                                  \
         0,                                                                                          \
         kCV | kTbsAutoTicks | kTbsVert | kGroup | kTabStop,                                         \
         83,                                                                                         \
         92,                                                                                         \
         8,                                                                                          \
         50},                                                                                        \
        {1016, kTrackbarClass, "Slider2", 0, kCV | kTbsAutoTicks | kTabStop, 90, 83, 63, 9},         \
        {1001, kButtonClass, SVIDEO, 0, kCV | kBsAutoRadioButton | kGroup | kTabStop,                \
         170,  15,           61,     15},                                                            \
        {1002, kButtonClass, COMPOSITE, 0, kCV | kBsAutoRadioButton, 170, 27, 61, 15},               \
        {1003, kButtonClass, BOTH, 0, kCV | kBsAutoRadioButton, 170, 39, 73, 15},                    \
        {1006, kButtonClass, TVONLY, 0, kCV | kBsAutoCheckBox | kGroup | kTabStop, 170, 56, 70, 12}, \
        {1004, kButtonClass, DOTCRAWL, 0, kChild | kBsAutoCheckBox | kGroup | kTabStop,              \
         169,  84,           68,       13},                                                          \
        {1005, kButtonClass, FLICKER, 0, kCV | kBsAutoCheckBox | kTabStop, 170, 74, 68, 13},         \
        {1014, kButtonClass, DEFAULT, 0, kCV | kBsPushButton | kGroup | kTabStop, 185, 93, 60, 10},  \
        {1000, kButtonClass, TEST, 0, kCV | kBsPushButton | kTabStop, 185, 108, 60, 10},             \
        {1020, kButtonClass, POSITION, 0, kCV | kBsGroupBox, 80, 75, 75, 70},                        \
        {1021, kButtonClass, OUTPUT, 0, kCV | kBsGroupBox, 165, 5, 80, 65},                          \
        {1019, kButtonClass, SCAN, 0, kCV | kBsGroupBox, 15, 110, 62, 35},                           \
        {1018, kButtonClass, CONTRAST, 0, kCV | kBsGroupBox, 9, 5, 150, 51},                         \
        {-1, kButtonClass, "", 0, kCV | kBsGroupBox, 9, 66, 150, 85},                                \
        {1012, kStaticClass, " 640 x 480", 0, kCV | kSsLeft | kSsSunken | kGroup, 38, 78, 36, 10},   \
        {1017, kStaticClass, "", 0, kChild | kSsGrayFrame, 94, 95, 55, 45},                          \
        {-1, kButtonClass, "", 0, kCV | kBsGroupBox, 165, 50, 80, 20},                               \
        {-1, kStaticClass, RESO, 0, kCV | kSsLeft | kGroup, 11, 78, 27, 8},

const DialogItemTemplate kEnglishItems[] = {VEXT_DIALOG101_ITEMS(
    "Cancel", "&Overscan", "&Underscan", "&SVideo", "&Composite", "&Both", "TvOnl&y",
    "FreezeDotCrawl", "&FlickerFilter", "&Default", "&Test", "Position", "Output", "Scan",
    "Contrast&&Brightness", "Reso", 18, 18, 17, 34, 15, 31, 23)};

const DialogItemTemplate kJapaneseItems[] = {VEXT_DIALOG101_ITEMS(
    "ｷｬﾝｾﾙ", "ｵｰﾊﾞｰｽｷｬﾝ(&O)", "ｱﾝﾀﾞｰｽｷｬﾝ(&U)", "Svideo(&S)", "ｺﾝﾎﾟｼﾞｯﾄ(&C)", "Svideo+ｺﾝﾎﾟｼﾞｯﾄ(&B)",
    "TVのみに出力(&Y)", "ﾄﾞｯﾄｸﾛｰﾙを止める", "ﾌﾘｯｶﾌｨﾙﾀ(&F)", "標準に戻す(&D)", "ﾃｽﾄ(&T)", "位置調整",
    "出力", "走査", "ｺﾝﾄﾗｽﾄ・ﾌﾞﾗｲﾄﾈｽ", "解像度：", 17, 18, 16, 35, 16, 34, 20)};

#undef VEXT_DIALOG101_ITEMS

constexpr uint32_t kDialogStyle =
    kPopup | kCaption | kSysMenu | kDsModalFrame | kDsCenter | kDsContextHelp | kDsSetFont;

const DialogTemplate kDialogs[] = {
    {101, platform::kLangEnglishUS, kDialogStyle, "TVOUT", "MS Sans Serif", 8, 254, 157,
     kEnglishItems, static_cast<int>(sizeof kEnglishItems / sizeof kEnglishItems[0])},
    {101, platform::kLangJapanese, kDialogStyle, "TVOUTの設定", "ＭＳ Ｐゴシック", 10, 254, 157,
     kJapaneseItems, static_cast<int>(sizeof kJapaneseItems / sizeof kJapaneseItems[0])},
};

constexpr int kDialogCount = static_cast<int>(sizeof kDialogs / sizeof kDialogs[0]);

}  // namespace

const platform::DialogTemplate* Dialog101Templates() {
    return kDialogs;
}
int Dialog101TemplateCount() {
    return kDialogCount;
}

}  // namespace vext

namespace {

// The test mode's bitmaps, drawn when the simulation loads them.
bool loadTestBitmap(int resourceId, vext::platform::BitmapImage* image) {
    vext::TestBitmap bitmap;
    if (!vext::MakeTestBitmap(resourceId, &bitmap)) {
        return false;
    }
    image->width = bitmap.width;
    image->height = bitmap.height;
    image->pixels = std::move(bitmap.pixels);
    image->palette = std::move(bitmap.palette);
    return true;
}

}  // namespace

const vext::platform::ModuleResources vext::platform::kModuleResources = {
    vext::kDialogs, vext::kDialogCount, loadTestBitmap};
