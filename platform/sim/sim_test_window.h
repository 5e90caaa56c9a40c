// The simulation's top-level windows: a test window fed from a script of key events.
//
// The message loop takes, in order: messages posted to a window; then, while a "frames N" of the
// script lasts, nothing (the loop draws a frame each time); then the script's next event. A key
// event reaches the window as WM_KEYDOWN with its repeat flag (bit 30 of lParam) and with the
// Ctrl key's state as it was when the key went down. When the script is used up, the window gets
// a close request, as from Alt+F4, so that every test run ends.
//
// Script words, separated by white space ("#" starts a comment to the end of the line):
//   up down left right enter esc    a key; or its virtual-key number (decimal or 0x hex)
//   ctrl+KEY  held+KEY              with Ctrl down; as a repeat of a held key (both may be given)
//   frames N                        N frames are drawn before the next event
//   png FILE                        one frame is drawn, and written to FILE
//   lose                            the display's surfaces are lost
//   close                           a close request, as from Alt+F4
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace vext::sim {

struct TestEvent {
    enum class Kind { Key, Frames, Png, Lose, Close };
    Kind kind = Kind::Key;
    uint32_t key = 0;
    bool repeat = false;
    bool ctrl = false;
    int frames = 0;
    std::string path;
};

// False, with a message in error, when a word is not understood.
bool parseTestScript(const std::string& text, std::vector<TestEvent>* events, std::string* error);
// The script that the next messages come from; it replaces any rest of an earlier one.
void setTestScript(std::vector<TestEvent> events);

// What happened to windows, oldest first ("register TVOUTTEST", "create TVOUTTEST",
// "text Now testing...", "key 0x27", "destroy TVOUTTEST", "unregister TVOUTTEST", "disable",
// "enable", "activate", "message ERROR: ERROR"); clear to restart.
std::vector<std::string>& windowLog();

int liveTopLevelWindows();
bool windowClassRegistered(const std::string& className);
// Whether enableWindow left the window (a dialog, say) enabled.
bool windowEnabled(platform::WindowHandle window);

struct ErrorMessage {
    std::string text;
    std::string caption;
};
// The error message boxes shown, oldest first; each is answered with OK at once.
std::vector<ErrorMessage>& errorMessages();

// The size of the simulated primary screen.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

}  // namespace vext::sim
