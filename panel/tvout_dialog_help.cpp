// The dialog's context help and its position preview.
#include "panel/tvout_dialog.h"
#include "platform/dialog_template.h"
#include "platform/help.h"
#include "platform/painter.h"

namespace vext {

namespace p = platform;

const int32_t HelpContextTable[][2] = {
    {ctl::kContrastGroup, 100003},  {ctl::kContrast, 100003},
    {ctl::kBrightness, 100003},     {ctl::kContrastIcon, 100003},
    {ctl::kBrightnessIcon, 100003}, {ctl::kResolutionText, 100004},
    {ctl::kResolution, 100004},     {ctl::kScanGroup, 100005},
    {ctl::kOverscan, 100005},       {ctl::kUnderscan, 100005},
    {ctl::kPositionGroup, 100006},  {ctl::kHorizontal, 100006},
    {ctl::kVertical, 100006},       {ctl::kPreviewFrame, 100006},
    {ctl::kOutputGroup, 100007},    {ctl::kSVideo, 100007},
    {ctl::kComposite, 100007},      {ctl::kBoth, 100007},
    {ctl::kTvOnly, 100008},         {ctl::kFlickerFilter, 100009},
    {ctl::kDotCrawl, 100010},       {ctl::kDefault, 100011},
    {ctl::kTest, 100012},           {ctl::kOk, 100013},
    {ctl::kCancel, 100014},         {0, 0},
};

namespace {

// The help files of the display property-sheet extension, found by the viewer by name.
constexpr const char* kEnglishHelpFile = "VEXTPAGE.HLP";
constexpr const char* kJapaneseHelpFile = "VEXTPAGJ.HLP";

struct PictureArea {
    int left;  // offsets from the preview frame's corner
    int top;
    int width;
    int height;
};

// Where the picture lies on the screen of the little television: past the cabinet in
// overscan, inside the screen's edge in underscan.
PictureArea pictureArea(uint16_t underscan, int x, int y, int w, int h) {
    switch (underscan) {
        case 0:
            return {x - 6, y - 6, w + 12, h + 12};
        case 1:
            return {x + 10, y + 10, w - 20, h - 20};
        default:
            return {x + 4, y + 4, w - 8, h - 8};
    }
}

}  // namespace

intptr_t OnDialogHelp(intptr_t lParam) {
    p::WindowHandle control = p::helpRequestItem(lParam);
    if (control == nullptr) {
        return 1;
    }
    int id = p::controlId(control);
    const char* file =
        p::systemDefaultLanguage() == p::kLangJapanese ? kJapaneseHelpFile : kEnglishHelpFile;
    for (const int32_t* pair = HelpContextTable[0]; pair[0] != 0 || pair[1] != 0; pair += 2) {
        if (pair[0] == id) {
            p::showHelp(control, file, p::kHelpWmHelp, HelpContextTable[0]);
        }
    }
    return 1;
}

intptr_t OnDialogPaint(p::WindowHandle dialog) {
    const p::Rect r = p::itemRectInClient(dialog, ctl::kPreviewFrame);
    p::Painter painter(dialog);

    painter.usePen(p::PenKind::Null);
    painter.useBrush(p::BrushKind::ButtonFace);
    painter.rectangle(r.left, r.top, r.right, r.bottom);

    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int W = 3 * w / 4;
    const int H = 3 * h / 4;
    const int X = (w - W) / 2;
    const int Y = (h - H) / 2;

    painter.usePen(p::PenKind::Black);
    painter.useBrush(p::BrushKind::Gray);
    painter.roundRect(r.left + X, r.top + Y, r.left + X + W, r.top + Y + H, 10, 10);
    painter.useBrush(p::BrushKind::LightGray);
    painter.roundRect(r.left + X + 4, r.top + Y + 4, r.left + X + W - 4, r.top + Y + H - 4, 20, 20);

    const TVOutModuleState& state = moduleState();
    const PictureArea picture =
        pictureArea(state.workingSettings[state.currentIndex].underscan, X, Y, W, H);
    painter.usePen(p::PenKind::Dotted);
    painter.useBrush(p::BrushKind::Hatched);
    painter.setTransparentBackground();
    painter.rectangle(r.left + picture.left, r.top + picture.top,
                      r.left + picture.left + picture.width, r.top + picture.top + picture.height);
    return 1;
}

}  // namespace vext
