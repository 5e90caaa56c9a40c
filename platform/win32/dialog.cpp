// Dialogs on Windows: the real dialog manager, buttons and trackbars.
#include "platform/dialog.h"

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

namespace vext::platform {

namespace {

HWND hwnd(WindowHandle window) {
    return static_cast<HWND>(window);
}

INT_PTR CALLBACK dialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<DialogProc>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        proc = reinterpret_cast<DialogProc>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(proc));
        lParam = 0;  // the Part's dialog takes no initial parameter
    }
    if (proc == nullptr) {
        return FALSE;
    }
    return static_cast<INT_PTR>(proc(dialog, message, wParam, lParam));
}

LRESULT sendItem(WindowHandle dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(hwnd(dialog), id, message, wParam, lParam);
}

}  // namespace

intptr_t runModalDialog(ModuleHandle module, int templateId, WindowHandle owner, DialogProc proc) {
    return DialogBoxParamA(static_cast<HINSTANCE>(const_cast<void*>(module)),
                           MAKEINTRESOURCEA(templateId), hwnd(owner), dialogTrampoline,
                           reinterpret_cast<LPARAM>(proc));
}

void endDialog(WindowHandle dialog, intptr_t result) {
    EndDialog(hwnd(dialog), result);
}

WindowHandle dialogItem(WindowHandle dialog, int id) {
    return GetDlgItem(hwnd(dialog), id);
}

int controlId(WindowHandle control) {
    // The id is 16 bits in a dialog template; -1 comes back as 0xFFFF.
    return static_cast<int16_t>(GetDlgCtrlID(hwnd(control)));
}

WindowHandle helpRequestItem(intptr_t lParam) {
    const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
    return info != nullptr ? info->hItemHandle : nullptr;
}

void setItemText(WindowHandle dialog, int id, const char* text) {
    SetDlgItemTextA(hwnd(dialog), id, text);
}

void enableItem(WindowHandle dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(hwnd(dialog), id), enable ? TRUE : FALSE);
}

void clickButton(WindowHandle dialog, int id) {
    sendItem(dialog, id, BM_CLICK, 0, 0);
}

void checkButton(WindowHandle dialog, int id, uint32_t state) {
    CheckDlgButton(hwnd(dialog), id, state);
}

uint32_t buttonState(WindowHandle dialog, int id) {
    return IsDlgButtonChecked(hwnd(dialog), id);
}

void setTrackbarRange(WindowHandle dialog, int id, int minimum, int maximum) {
    sendItem(dialog, id, TBM_SETRANGE, TRUE, MAKELONG(minimum, maximum));
}

void setTrackbarTickFrequency(WindowHandle dialog, int id, int frequency) {
    sendItem(dialog, id, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void setTrackbarPosition(WindowHandle dialog, int id, int position) {
    sendItem(dialog, id, TBM_SETPOS, TRUE, position);
}

int trackbarPosition(WindowHandle dialog, int id) {
    return static_cast<int>(sendItem(dialog, id, TBM_GETPOS, 0, 0));
}

void invalidateWindow(WindowHandle window) {
    InvalidateRect(hwnd(window), nullptr, TRUE);
}

Rect itemRectInClient(WindowHandle dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(hwnd(dialog), id), &r);
    MapWindowPoints(nullptr, hwnd(dialog), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace vext::platform
