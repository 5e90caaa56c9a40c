// Top-level windows of the panel's test mode, their message loop and the keyboard; the enable,
// activation and error message of the dialog around a test.
//
// Win32 uses real windows. The simulation's window is fed from a script of key events (key,
// repeat flag, Ctrl state), platform/sim/sim_test_window.h.
#pragma once

#include <cstdint>

#include "platform/dialog.h"
#include "platform/module.h"

namespace vext::platform {

using WindowProc = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);

namespace msg {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kActivateApp = 0x001C;
}  // namespace msg

// Virtual keys.
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkLeft = 0x25;
constexpr uint32_t kVkUp = 0x26;
constexpr uint32_t kVkRight = 0x27;
constexpr uint32_t kVkDown = 0x28;

// Bit 30 of a key-down's lParam: the key was already down (a repeat).
constexpr intptr_t kKeyWasDown = 0x40000000;

// A class of style 0 with the application icon, no cursor and the menu colour as background.
bool registerWindowClass(ModuleHandle module, const char* className, WindowProc proc);
void unregisterWindowClass(ModuleHandle module, const char* className);
// A visible pop-up window with a system menu over the whole primary screen; null on failure.
WindowHandle createScreenWindow(ModuleHandle module, const char* className, const char* title);
// Writes text once in the middle of the client area, in the system font.
void drawCentredText(WindowHandle window, const char* text);
void showWindow(WindowHandle window);  // shown and updated
void destroyWindow(WindowHandle window);
intptr_t defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam);
void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Takes one message of the thread's queue, translates and dispatches it; false when none waits.
bool dispatchWaitingMessage();
// The top bit of the key's entry in the keyboard state.
bool keyIsDown(uint32_t virtualKey);

void enableWindow(WindowHandle window, bool enable);
void activateWindow(WindowHandle window);
// A message box with the error icon and an OK button, owned by owner.
void showErrorMessage(WindowHandle owner, const char* text, const char* caption);

}  // namespace vext::platform
