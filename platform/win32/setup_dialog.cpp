// The setup dialog on Win32: the modeless dialog "VEXTSETUP" of the program's resources and
// the message loop that runs it.
#include "platform/setup_dialog.h"

#include <windows.h>

#include "platform/win32/setup_dialog_impl.h"

namespace vext::platform {

namespace {

INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* impl = reinterpret_cast<SetupDialog::Impl*>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            impl = reinterpret_cast<SetupDialog::Impl*>(lParam);
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            impl->window = window;
            SetupDialog dialog(impl);
            impl->handler->onInitDialog(dialog);
            return TRUE;  // the system sets the focus
        }
        case WM_COMMAND:
            if (impl != nullptr) {
                SetupDialog dialog(impl);
                impl->handler->onCommand(dialog, LOWORD(wParam));
            }
            return TRUE;
        case WM_DESTROY:
            if (impl != nullptr) {
                SetupDialog dialog(impl);
                impl->handler->onDestroy(dialog);
                impl->window = nullptr;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void SetupDialog::centreTopmost() {
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(impl_->window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    // Integer division truncates toward zero, also for a window larger than the desktop.
    const int x = ((desktop.right - desktop.left) - width) / 2;
    const int y = ((desktop.bottom - desktop.top) - height) / 2;
    SetWindowPos(impl_->window, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
}

void SetupDialog::setItemText(int id, const char* text) {
    SetDlgItemTextA(impl_->window, id, text);
}

void SetupDialog::destroy() {
    if (impl_->window != nullptr) {
        DestroyWindow(impl_->window);
    }
}

void SetupDialog::postQuit(int code) {
    PostQuitMessage(code);
}

int runSetupDialog(SetupDialogHandler& handler) {
    SetupDialog::Impl impl;
    impl.handler = &handler;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), "VEXTSETUP", nullptr, dialogProc,
                                     reinterpret_cast<LPARAM>(&impl));
    if (window == nullptr) {
        return -1;
    }
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return -1;
        }
        if (impl.window != nullptr && IsDialogMessageA(impl.window, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace vext::platform
