// The simulation's dialogs: a headless model of a dialog and its controls.
//
// runModalDialog builds the model from the module's template in the user's language, sends the
// dialog procedure WM_INITDIALOG and then hands the dialog to the simulated user: a function
// that acts on it as a person would (clicks, slider drags, keys, help requests) and looks at what
// it shows. Each action sends the dialog procedure the messages Windows would send, followed by
// the paint pass (NM_CUSTOMDRAW from each trackbar that changed, WM_PAINT when the dialog was
// invalidated). When the user returns and the dialog is still open, it is closed as by the
// caption's close box.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/painter.h"

namespace vext::sim {

// Environment variable: the user's language id (decimal or 0x hex), which picks a dialog
// template's language. English (United States) when unset.
constexpr const char* kUserLanguageVariable = "VEXT_SIM_USER_LANGUAGE";

// Notification codes and scroll codes, numbered as Windows numbers them.
constexpr int kNmCustomDraw = -12;
constexpr int kNmReleasedCapture = -16;
constexpr uint32_t kTbThumbPosition = 4;
constexpr uint32_t kTbThumbTrack = 5;

// The header of a notification, laid out as NMHDR.
struct NotifyHeader {
    platform::WindowHandle from;
    uintptr_t idFrom;
    int code;
};

// A help request, laid out as HELPINFO.
struct HelpInfo {
    uint32_t size;
    int contextType;  // 1: a window
    int controlId;
    platform::WindowHandle item;
    uintptr_t contextId;
    int32_t mouseX, mouseY;
};

class SimWindow {
  public:
    virtual ~SimWindow() = default;
    virtual int id() const = 0;
};

class SimControl : public SimWindow {
  public:
    int id() const override { return controlId; }
    bool isButton() const;
    bool isTrackbar() const;
    bool isVerticalTrackbar() const;
    uint32_t buttonType() const;

    int controlId = 0;
    std::string className;
    std::string text;  // UTF-8
    int iconId = 0;
    uint32_t style = 0;
    platform::Rect rect{};  // pixels in the dialog's client area
    bool enabled = true;
    bool visible = true;
    uint32_t checkState = 0;
    // Trackbar state, with the control's own initial values.
    int rangeMin = 0;
    int rangeMax = 100;
    int tickFrequency = 1;
    int position = 0;
    bool needsPaint = true;
};

// One drawing call of a paint.
struct PaintCall {
    enum class Shape { Rectangle, RoundRect };
    Shape shape;
    platform::PenKind pen;
    platform::BrushKind brush;
    bool transparentBackground;
    platform::Rect rect;
    int ellipseWidth;
    int ellipseHeight;
};

class SimDialog : public SimWindow {
  public:
    SimDialog(const platform::DialogTemplate& dialogTemplate, platform::DialogProc proc);
    int id() const override { return 0; }

    // ---- what a user does; false when the control cannot take the action ----
    bool click(int controlId);
    // Drags a trackbar's thumb to position one step at a time, then lets it go.
    bool slide(int controlId, int position);
    bool pressEscape();
    bool pressEnter();
    bool pressKey(uint32_t virtualKey);  // a key the dialog gets as WM_KEYDOWN
    void close();                        // the caption's close box
    bool requestHelp(int controlId);     // F1 or the "?" button on the control

    // ---- what the dialog shows ----
    const SimControl* control(int controlId) const;
    const std::vector<std::unique_ptr<SimControl>>& controls() const { return controls_; }
    const platform::DialogTemplate& dialogTemplate() const { return template_; }
    bool isOpen() const { return !ended_; }
    intptr_t result() const { return result_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The drawing calls of the last paint and the number of paints so far.
    const std::vector<PaintCall>& lastPaint() const { return lastPaint_; }
    int paintCount() const { return paintCount_; }
    // The picture of the last paints: 24-bit RGB rows of width() pixels.
    const std::vector<uint8_t>& canvas() const { return canvas_; }
    bool writePng(const std::string& path) const;
    // A readable description of every control's state.
    std::string describe() const;

    // Moves a control, as a different font or template would place it.
    void setControlRect(int controlId, platform::Rect rect);

    // ---- used by the platform implementation ----
    SimControl* find(int controlId);
    intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void buttonClick(SimControl& button);
    void end(intptr_t result);
    void invalidate() { invalid_ = true; }
    void paintPass();
    void beginPaint();
    void record(const PaintCall& call);
    std::vector<uint8_t>& canvasPixels() { return canvas_; }
    bool ended() const { return ended_; }
    platform::WindowHandle handle() { return static_cast<SimWindow*>(this); }

  private:
    void cancelByDefault();
    void notify(SimControl& control, int code);
    void scroll(SimControl& control, uint32_t code, int position);

    platform::DialogTemplate template_;
    platform::DialogProc proc_;
    std::vector<std::unique_ptr<SimControl>> controls_;
    bool ended_ = false;
    intptr_t result_ = 0;
    bool invalid_ = true;
    int width_ = 0;
    int height_ = 0;
    std::vector<PaintCall> lastPaint_;
    int paintCount_ = 0;
    std::vector<uint8_t> canvas_;
};

// The simulated user of every modal dialog of this process; none closes each dialog at once.
using DialogUser = std::function<void(SimDialog&)>;
void setDialogUser(DialogUser user);

// Whether this process has registered the common controls (registerCommonControls does); a
// dialog with a trackbar cannot be created without them.
void setCommonControlsRegistered(bool registered);

SimDialog* simDialog(platform::WindowHandle window);
SimControl* simControl(platform::WindowHandle window);

// Dialog units to pixels, as for the 8-point dialog font (base units 6 by 13).
platform::Rect dialogUnitsToPixels(int x, int y, int cx, int cy);

}  // namespace vext::sim
