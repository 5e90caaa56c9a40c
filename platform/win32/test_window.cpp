// Top-level windows, the message loop and the keyboard on Windows.
#include "platform/test_window.h"

#include <windows.h>

#include <cstring>

namespace vext::platform {

namespace {

HWND hwnd(WindowHandle window) {
    return static_cast<HWND>(window);
}

HINSTANCE instance(ModuleHandle module) {
    return static_cast<HINSTANCE>(const_cast<void*>(module));
}

// One class procedure per process: the panel registers one test class at a time.
WindowProc classProc = nullptr;

LRESULT CALLBACK windowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (classProc == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return classProc(window, message, wParam, lParam);
}

}  // namespace

bool registerWindowClass(ModuleHandle module, const char* className, WindowProc proc) {
    if (proc == nullptr) {
        return false;
    }
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = windowTrampoline;
    wc.hInstance = instance(module);
    wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    wc.hCursor = nullptr;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = className;
    if (RegisterClassA(&wc) == 0) {
        return false;
    }
    classProc = proc;
    return true;
}

void unregisterWindowClass(ModuleHandle module, const char* className) {
    UnregisterClassA(className, instance(module));
}

WindowHandle createScreenWindow(ModuleHandle module, const char* className, const char* title) {
    return CreateWindowExA(0, className, title, WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                           nullptr, instance(module), nullptr);
}

void drawCentredText(WindowHandle window, const char* text) {
    RECT client;
    GetClientRect(hwnd(window), &client);
    HDC dc = GetDC(hwnd(window));
    if (dc == nullptr) {
        return;
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SelectObject(dc, GetSysColorBrush(COLOR_WINDOWTEXT));
    const int length = static_cast<int>(std::strlen(text));
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text, length, &size);
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, (client.right - size.cx) / 2, (client.bottom - size.cy) / 2, text, length);
    ReleaseDC(hwnd(window), dc);
}

void showWindow(WindowHandle window) {
    ShowWindow(hwnd(window), SW_SHOW);
    UpdateWindow(hwnd(window));
}

void destroyWindow(WindowHandle window) {
    DestroyWindow(hwnd(window));
}

intptr_t defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) {
    return DefWindowProcA(hwnd(window), message, wParam, lParam);
}

void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    PostMessageA(hwnd(window), message, wParam, lParam);
}

bool dispatchWaitingMessage() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

bool keyIsDown(uint32_t virtualKey) {
    BYTE state[256];
    if (!GetKeyboardState(state)) {
        return false;
    }
    return (state[virtualKey & 0xFF] & 0x80) != 0;
}

void enableWindow(WindowHandle window, bool enable) {
    EnableWindow(hwnd(window), enable ? TRUE : FALSE);
}

void activateWindow(WindowHandle window) {
    SetActiveWindow(hwnd(window));
}

void showErrorMessage(WindowHandle owner, const char* text, const char* caption) {
    MessageBoxA(hwnd(owner), text, caption, MB_OK | MB_ICONERROR);
}

}  // namespace vext::platform
