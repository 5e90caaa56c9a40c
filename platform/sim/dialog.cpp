// Dialogs on the simulation: the headless dialog model and the platform's dialog calls on it.
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/dialog.h"
#include "platform/sim/sim_dialog.h"

namespace vext::sim {

namespace p = platform;
namespace st = platform::style;

namespace {

constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kBnClicked = 0;
constexpr uint8_t kButtonFace = 192;

DialogUser& dialogUser() {
    static DialogUser user;
    return user;
}

bool& commonControlsRegistered() {
    static bool registered = false;
    return registered;
}

uint16_t userLanguage() {
    const char* value = std::getenv(kUserLanguageVariable);
    if (value == nullptr || *value == '\0') {
        return p::kLangEnglishUS;
    }
    return static_cast<uint16_t>(std::strtoul(value, nullptr, 0));
}

// The template of the user's language, else the English one, else any: the order in which
// Windows falls back.
const p::DialogTemplate* findTemplate(p::ModuleHandle module, int id) {
    const auto* resources = static_cast<const p::ModuleResources*>(module);
    if (resources == nullptr) {
        return nullptr;
    }
    const p::DialogTemplate* english = nullptr;
    const p::DialogTemplate* any = nullptr;
    const uint16_t language = userLanguage();
    for (int i = 0; i < resources->dialogCount; ++i) {
        const p::DialogTemplate& t = resources->dialogs[i];
        if (t.resourceId != id) {
            continue;
        }
        if (t.language == language) {
            return &t;
        }
        if (t.language == p::kLangEnglishUS) {
            english = &t;
        }
        if (any == nullptr) {
            any = &t;
        }
    }
    return english != nullptr ? english : any;
}

uintptr_t makeWParam(uint32_t low, uint32_t high) {
    return static_cast<uintptr_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

}  // namespace

p::Rect dialogUnitsToPixels(int x, int y, int cx, int cy) {
    auto px = [](int units) { return units * 6 / 4; };
    auto py = [](int units) { return units * 13 / 8; };
    return {px(x), py(y), px(x + cx), py(y + cy)};
}

bool SimControl::isButton() const {
    return className == p::kButtonClass;
}
bool SimControl::isTrackbar() const {
    return className == p::kTrackbarClass;
}
bool SimControl::isVerticalTrackbar() const {
    return isTrackbar() && (style & st::kTbsVert) != 0;
}
uint32_t SimControl::buttonType() const {
    return style & st::kBsTypeMask;
}

SimDialog::SimDialog(const p::DialogTemplate& dialogTemplate, p::DialogProc proc)
    : template_(dialogTemplate), proc_(proc) {
    p::Rect size = dialogUnitsToPixels(0, 0, template_.cx, template_.cy);
    width_ = size.right;
    height_ = size.bottom;
    canvas_.assign(static_cast<size_t>(width_) * height_ * 3, kButtonFace);
    for (int i = 0; i < template_.itemCount; ++i) {
        const p::DialogItemTemplate& item = template_.items[i];
        auto control = std::make_unique<SimControl>();
        control->controlId = item.id;
        control->className = item.className;
        control->text = item.text;
        control->iconId = item.iconId;
        control->style = item.style;
        control->rect = dialogUnitsToPixels(item.x, item.y, item.cx, item.cy);
        control->enabled = (item.style & st::kDisabled) == 0;
        control->visible = (item.style & st::kVisible) != 0;
        controls_.push_back(std::move(control));
    }
}

SimControl* SimDialog::find(int controlId) {
    for (auto& c : controls_) {
        if (c->controlId == controlId) {
            return c.get();
        }
    }
    return nullptr;
}

const SimControl* SimDialog::control(int controlId) const {
    return const_cast<SimDialog*>(this)->find(controlId);
}

intptr_t SimDialog::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    intptr_t handled = proc_(handle(), message, wParam, lParam);
    if (handled == 0 && message == p::msg::kClose) {
        cancelByDefault();
    }
    return handled;
}

// What the default dialog handling does for the close box and Esc: Cancel, unless that button
// is there and greyed.
void SimDialog::cancelByDefault() {
    SimControl* cancel = find(p::kIdCancel);
    if (cancel == nullptr || cancel->enabled) {
        send(p::msg::kCommand, makeWParam(p::kIdCancel, kBnClicked),
             reinterpret_cast<intptr_t>(cancel != nullptr ? static_cast<SimWindow*>(cancel)
                                                          : nullptr));
    }
}

void SimDialog::buttonClick(SimControl& button) {
    switch (button.buttonType()) {
        case st::kBsAutoRadioButton: {
            // The group runs from the nearest control with WS_GROUP at or before the button to
            // the next control with WS_GROUP.
            auto at = std::find_if(controls_.begin(), controls_.end(),
                                   [&](const auto& c) { return c.get() == &button; });
            auto first = at;
            while (first != controls_.begin() && ((*first)->style & st::kGroup) == 0) {
                --first;
            }
            for (auto it = first; it != controls_.end(); ++it) {
                if (it != first && ((*it)->style & st::kGroup) != 0) {
                    break;
                }
                if ((*it)->isButton() && (*it)->buttonType() == st::kBsAutoRadioButton) {
                    (*it)->checkState = it == at ? p::kButtonChecked : 0;
                }
            }
            break;
        }
        case st::kBsAutoCheckBox:
            button.checkState = button.checkState == p::kButtonChecked ? 0 : p::kButtonChecked;
            break;
        case st::kBsGroupBox:
            return;  // group boxes take no clicks
        default:
            break;
    }
    send(p::msg::kCommand, makeWParam(static_cast<uint32_t>(button.controlId), kBnClicked),
         reinterpret_cast<intptr_t>(static_cast<SimWindow*>(&button)));
}

bool SimDialog::click(int controlId) {
    SimControl* c = find(controlId);
    if (ended_ || c == nullptr || !c->isButton() || !c->enabled || !c->visible ||
        c->buttonType() == st::kBsGroupBox) {
        return false;
    }
    buttonClick(*c);
    paintPass();
    return true;
}

void SimDialog::notify(SimControl& control, int code) {
    NotifyHeader header{static_cast<SimWindow*>(&control),
                        static_cast<uintptr_t>(control.controlId), code};
    send(p::msg::kNotify, static_cast<uintptr_t>(control.controlId),
         reinterpret_cast<intptr_t>(&header));
}

void SimDialog::scroll(SimControl& control, uint32_t code, int position) {
    send(control.isVerticalTrackbar() ? p::msg::kVScroll : p::msg::kHScroll,
         makeWParam(code, static_cast<uint32_t>(position)),
         reinterpret_cast<intptr_t>(static_cast<SimWindow*>(&control)));
}

bool SimDialog::slide(int controlId, int position) {
    SimControl* c = find(controlId);
    if (ended_ || c == nullptr || !c->isTrackbar() || !c->enabled || !c->visible) {
        return false;
    }
    const int target = std::clamp(position, c->rangeMin, c->rangeMax);
    while (!ended_ && c->position != target) {
        c->position += c->position < target ? 1 : -1;
        c->needsPaint = true;
        scroll(*c, kTbThumbTrack, c->position);
        paintPass();
    }
    if (!ended_) {
        scroll(*c, kTbThumbPosition, c->position);
    }
    if (!ended_) {
        scroll(*c, p::kTbEndTrack, 0);
    }
    if (!ended_) {
        notify(*c, kNmReleasedCapture);
    }
    paintPass();
    return true;
}

bool SimDialog::pressKey(uint32_t virtualKey) {
    if (ended_) {
        return false;
    }
    if (virtualKey == kVkEscape) {
        cancelByDefault();
    } else if (virtualKey == kVkReturn) {
        SimControl* ok = find(p::kIdOk);
        if (ok != nullptr && ok->enabled) {
            send(p::msg::kCommand, makeWParam(p::kIdOk, kBnClicked),
                 reinterpret_cast<intptr_t>(static_cast<SimWindow*>(ok)));
        }
    } else {
        send(p::msg::kKeyDown, virtualKey, 1);
    }
    paintPass();
    return true;
}

bool SimDialog::pressEscape() {
    return pressKey(kVkEscape);
}
bool SimDialog::pressEnter() {
    return pressKey(kVkReturn);
}

void SimDialog::close() {
    if (ended_) {
        return;
    }
    send(p::msg::kClose, 0, 0);
    paintPass();
}

bool SimDialog::requestHelp(int controlId) {
    SimControl* c = find(controlId);
    if (ended_ || c == nullptr) {
        return false;
    }
    HelpInfo info{sizeof(HelpInfo), 1, c->controlId, static_cast<SimWindow*>(c), 0, 0, 0};
    send(p::msg::kHelp, 0, reinterpret_cast<intptr_t>(&info));
    paintPass();
    return true;
}

void SimDialog::end(intptr_t result) {
    if (!ended_) {
        ended_ = true;
        result_ = result;
    }
}

// What the message loop does when it runs out of input: trackbars that changed draw themselves
// (telling the dialog through NM_CUSTOMDRAW), and an invalidated dialog gets WM_PAINT.
void SimDialog::paintPass() {
    if (ended_) {
        return;
    }
    if (invalid_) {
        send(p::msg::kPaint, 0, 0);
        invalid_ = false;
    }
    for (auto& c : controls_) {
        if (ended_) {
            return;
        }
        if (c->isTrackbar() && c->visible && c->needsPaint) {
            c->needsPaint = false;
            notify(*c, kNmCustomDraw);
        }
    }
}

void SimDialog::beginPaint() {
    lastPaint_.clear();
    ++paintCount_;
    invalid_ = false;
}

void SimDialog::record(const PaintCall& call) {
    lastPaint_.push_back(call);
}

void SimDialog::setControlRect(int controlId, p::Rect rect) {
    if (SimControl* c = find(controlId)) {
        c->rect = rect;
    }
}

std::string SimDialog::describe() const {
    std::ostringstream out;
    out << "dialog " << template_.resourceId << " \"" << template_.caption << "\" (language 0x"
        << std::hex << template_.language << std::dec << ")" << (ended_ ? ", ended" : "") << "\n";
    for (const auto& c : controls_) {
        if (!c->visible) {
            continue;
        }
        out << "  " << c->controlId << " ";
        if (c->isTrackbar()) {
            out << "trackbar " << c->position << " in " << c->rangeMin << ".." << c->rangeMax
                << " ticks " << c->tickFrequency;
        } else if (c->isButton()) {
            uint32_t type = c->buttonType();
            if (type == st::kBsAutoRadioButton) {
                out << (c->checkState == p::kButtonChecked ? "(o) " : "( ) ");
            } else if (type == st::kBsAutoCheckBox) {
                out << (c->checkState == p::kButtonChecked ? "[x] " : "[ ] ");
            } else if (type == st::kBsGroupBox) {
                out << "group ";
            } else {
                out << "button ";
            }
            out << "\"" << c->text << "\"";
        } else if (c->iconId != 0) {
            out << "icon " << c->iconId;
        } else {
            out << "text \"" << c->text << "\"";
        }
        if (!c->enabled) {
            out << " (greyed)";
        }
        out << "\n";
    }
    return out.str();
}

void setDialogUser(DialogUser user) {
    dialogUser() = std::move(user);
}

void setCommonControlsRegistered(bool registered) {
    commonControlsRegistered() = registered;
}

SimDialog* simDialog(p::WindowHandle window) {
    return dynamic_cast<SimDialog*>(static_cast<SimWindow*>(window));
}

SimControl* simControl(p::WindowHandle window) {
    return dynamic_cast<SimControl*>(static_cast<SimWindow*>(window));
}

}  // namespace vext::sim

namespace vext::platform {

using sim::simControl;
using sim::SimControl;
using sim::simDialog;
using sim::SimDialog;

namespace {

SimControl* item(WindowHandle dialog, int id) {
    SimDialog* d = simDialog(dialog);
    return d != nullptr ? d->find(id) : nullptr;
}

// The trackbar keeps its position within its range.
void clampPosition(SimControl& c) {
    c.position = std::clamp(c.position, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
}

}  // namespace

intptr_t runModalDialog(ModuleHandle module, int templateId, WindowHandle owner, DialogProc proc) {
    (void)owner;  // the model has no windows to stack
    const DialogTemplate* t = sim::findTemplate(module, templateId);
    if (t == nullptr || proc == nullptr) {
        return -1;
    }
    for (int i = 0; i < t->itemCount; ++i) {
        if (std::string(t->items[i].className) == kTrackbarClass &&
            !sim::commonControlsRegistered()) {
            return -1;  // the control cannot be created, and with it the dialog
        }
    }
    SimDialog dialog(*t, proc);
    dialog.send(msg::kInitDialog, 0, 0);
    dialog.paintPass();
    if (!dialog.ended() && sim::dialogUser()) {
        sim::DialogUser user = sim::dialogUser();  // a copy: the user may replace itself
        user(dialog);
    }
    dialog.close();
    if (!dialog.ended()) {
        dialog.end(kIdCancel);  // a procedure that refuses to close would hang the simulation
    }
    dialog.send(msg::kDestroy, 0, 0);
    return dialog.result();
}

void endDialog(WindowHandle dialog, intptr_t result) {
    if (SimDialog* d = simDialog(dialog)) {
        d->end(result);
    }
}

WindowHandle dialogItem(WindowHandle dialog, int id) {
    SimControl* c = item(dialog, id);
    return c != nullptr ? static_cast<sim::SimWindow*>(c) : nullptr;
}

int controlId(WindowHandle control) {
    auto* window = static_cast<sim::SimWindow*>(control);
    return window != nullptr ? window->id() : 0;
}

WindowHandle helpRequestItem(intptr_t lParam) {
    const auto* info = reinterpret_cast<const sim::HelpInfo*>(lParam);
    return info != nullptr ? info->item : nullptr;
}

void setItemText(WindowHandle dialog, int id, const char* text) {
    if (SimControl* c = item(dialog, id)) {
        c->text = text != nullptr ? text : "";
    }
}

void enableItem(WindowHandle dialog, int id, bool enable) {
    if (SimControl* c = item(dialog, id)) {
        c->enabled = enable;
    }
}

void clickButton(WindowHandle dialog, int id) {
    SimControl* c = item(dialog, id);
    if (c != nullptr && c->isButton()) {
        simDialog(dialog)->buttonClick(*c);
    }
}

void checkButton(WindowHandle dialog, int id, uint32_t state) {
    SimControl* c = item(dialog, id);
    if (c != nullptr && c->isButton()) {
        c->checkState = state;
    }
}

uint32_t buttonState(WindowHandle dialog, int id) {
    SimControl* c = item(dialog, id);
    return c != nullptr && c->isButton() ? c->checkState : 0;
}

void setTrackbarRange(WindowHandle dialog, int id, int minimum, int maximum) {
    SimControl* c = item(dialog, id);
    if (c != nullptr && c->isTrackbar()) {
        c->rangeMin = static_cast<int16_t>(minimum);
        c->rangeMax = static_cast<int16_t>(maximum);
        clampPosition(*c);
        c->needsPaint = true;
    }
}

void setTrackbarTickFrequency(WindowHandle dialog, int id, int frequency) {
    SimControl* c = item(dialog, id);
    if (c != nullptr && c->isTrackbar()) {
        c->tickFrequency = frequency;
        c->needsPaint = true;
    }
}

void setTrackbarPosition(WindowHandle dialog, int id, int position) {
    SimControl* c = item(dialog, id);
    if (c != nullptr && c->isTrackbar()) {
        c->position = position;
        clampPosition(*c);
        c->needsPaint = true;
    }
}

int trackbarPosition(WindowHandle dialog, int id) {
    SimControl* c = item(dialog, id);
    return c != nullptr && c->isTrackbar() ? c->position : 0;
}

void invalidateWindow(WindowHandle window) {
    if (SimDialog* d = simDialog(window)) {
        d->invalidate();
    }
}

Rect itemRectInClient(WindowHandle dialog, int id) {
    SimControl* c = item(dialog, id);
    return c != nullptr ? c->rect : Rect{0, 0, 0, 0};
}

void registerCommonControls() {
    sim::setCommonControlsRegistered(true);
}

}  // namespace vext::platform
