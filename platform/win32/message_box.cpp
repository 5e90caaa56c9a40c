// Message boxes on Win32. The texts are Shift-JIS: shown through the wide API after converting
// from code page 932, so they read right whatever the system's code page; where code page 932
// is not installed the bytes go to the ANSI API unchanged.
#include "platform/message_box.h"

#include <windows.h>

#include <vector>

#include "platform/win32/setup_dialog_impl.h"

namespace vext::platform {

namespace {

constexpr UINT kShiftJis = 932;

bool toWide(const char* text, std::vector<wchar_t>* wide) {
    int n = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) {
        return false;
    }
    wide->resize(static_cast<size_t>(n));
    return MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text, -1, wide->data(), n) == n;
}

}  // namespace

int showMessageBox(SetupDialog* owner, const char* text, const char* caption, uint32_t style) {
    HWND window = owner != nullptr ? owner->impl()->window : nullptr;
    std::vector<wchar_t> wideText;
    std::vector<wchar_t> wideCaption;
    if (toWide(text, &wideText) && toWide(caption, &wideCaption)) {
        return MessageBoxW(window, wideText.data(), wideCaption.data(), style);
    }
    return MessageBoxA(window, text, caption, style);
}

}  // namespace vext::platform
