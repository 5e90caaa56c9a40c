// Top-level windows on the simulation: a class table, windows that keep what they were shown,
// a message queue and the key script.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "platform/sim/sim_display.h"
#include "platform/sim/sim_test_window.h"
#include "platform/test_window.h"

namespace vext::sim {

namespace p = platform;

namespace {

struct WindowClass {
    p::ModuleHandle module;
    p::WindowProc proc;
};

struct TopWindow {
    std::string className;
    p::WindowProc proc;
    std::string text;
};

struct Posted {
    TopWindow* window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

std::map<std::string, WindowClass>& classes() {
    static std::map<std::string, WindowClass> table;
    return table;
}

std::vector<std::unique_ptr<TopWindow>>& windows() {
    static std::vector<std::unique_ptr<TopWindow>> list;
    return list;
}

std::deque<Posted>& queue() {
    static std::deque<Posted> q;
    return q;
}

std::deque<TestEvent>& script() {
    static std::deque<TestEvent> s;
    return s;
}

std::set<const void*>& disabledWindows() {
    static std::set<const void*> set;
    return set;
}

int framesLeft = 0;
bool ctrlDown = false;

TopWindow* live(p::WindowHandle handle) {
    for (auto& w : windows()) {
        if (w.get() == handle) {
            return w.get();
        }
    }
    return nullptr;
}

char hex[16];
const char* hexKey(uint32_t key) {
    std::snprintf(hex, sizeof hex, "0x%02X", key);
    return hex;
}

const struct {
    const char* name;
    uint32_t key;
} kKeyNames[] = {{"up", p::kVkUp},       {"down", p::kVkDown},     {"left", p::kVkLeft},
                 {"right", p::kVkRight}, {"enter", p::kVkReturn},  {"return", p::kVkReturn},
                 {"esc", p::kVkEscape},  {"escape", p::kVkEscape}, {"ctrl", p::kVkControl}};

bool parseKey(std::string word, TestEvent* event) {
    for (;;) {
        if (word.rfind("ctrl+", 0) == 0) {
            event->ctrl = true;
            word.erase(0, 5);
        } else if (word.rfind("held+", 0) == 0) {
            event->repeat = true;
            word.erase(0, 5);
        } else {
            break;
        }
    }
    for (const auto& k : kKeyNames) {
        if (word == k.name) {
            event->key = k.key;
            return true;
        }
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(word.c_str(), &end, 0);
    if (word.empty() || *end != '\0' || value == 0 || value > 0xFE) {
        return false;
    }
    event->key = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

bool parseTestScript(const std::string& text, std::vector<TestEvent>* events, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream in(line);
        std::string word;
        while (in >> word) {
            TestEvent event;
            if (word == "frames") {
                std::string count;
                char* end = nullptr;
                long n = (in >> count) ? std::strtol(count.c_str(), &end, 10) : -1;
                if (count.empty() || *end != '\0' || n < 0 || n > 1000000) {
                    *error = "frames needs a count from 0 to 1000000";
                    return false;
                }
                event.kind = TestEvent::Kind::Frames;
                event.frames = static_cast<int>(n);
            } else if (word == "png") {
                if (!(in >> event.path)) {
                    *error = "png needs a file name";
                    return false;
                }
                event.kind = TestEvent::Kind::Png;
            } else if (word == "lose") {
                event.kind = TestEvent::Kind::Lose;
            } else if (word == "close") {
                event.kind = TestEvent::Kind::Close;
            } else if (!parseKey(word, &event)) {
                *error = "not a key or script word: " + word;
                return false;
            }
            events->push_back(event);
        }
    }
    return true;
}

void setTestScript(std::vector<TestEvent> events) {
    script().assign(events.begin(), events.end());
    framesLeft = 0;
}

std::vector<std::string>& windowLog() {
    static std::vector<std::string> log;
    return log;
}

int liveTopLevelWindows() {
    return static_cast<int>(windows().size());
}

bool windowClassRegistered(const std::string& className) {
    return classes().count(className) != 0;
}

bool windowEnabled(p::WindowHandle window) {
    return disabledWindows().count(window) == 0;
}

std::vector<ErrorMessage>& errorMessages() {
    static std::vector<ErrorMessage> list;
    return list;
}

}  // namespace vext::sim

namespace vext::platform {

bool registerWindowClass(ModuleHandle module, const char* className, WindowProc proc) {
    if (className == nullptr || proc == nullptr || sim::classes().count(className) != 0) {
        return false;  // as Windows: a class name is registered once
    }
    sim::classes()[className] = {module, proc};
    sim::windowLog().push_back(std::string("register ") + className);
    return true;
}

void unregisterWindowClass(ModuleHandle, const char* className) {
    if (className != nullptr && sim::classes().erase(className) != 0) {
        sim::windowLog().push_back(std::string("unregister ") + className);
    }
}

WindowHandle createScreenWindow(ModuleHandle, const char* className, const char* title) {
    auto it = className != nullptr ? sim::classes().find(className) : sim::classes().end();
    if (it == sim::classes().end()) {
        return nullptr;
    }
    auto window = std::make_unique<sim::TopWindow>();
    window->className = className;
    window->proc = it->second.proc;
    sim::TopWindow* w = window.get();
    sim::windows().push_back(std::move(window));
    sim::windowLog().push_back(std::string("create ") + (title != nullptr ? title : ""));
    w->proc(w, msg::kCreate, 0, 0);
    return w;
}

void drawCentredText(WindowHandle window, const char* text) {
    if (sim::TopWindow* w = sim::live(window); w != nullptr && text != nullptr) {
        w->text = text;
        sim::windowLog().push_back(std::string("text ") + text);
    }
}

void showWindow(WindowHandle) {}

void destroyWindow(WindowHandle window) {
    sim::TopWindow* w = sim::live(window);
    if (w == nullptr) {
        return;
    }
    w->proc(w, msg::kDestroy, 0, 0);
    sim::windowLog().push_back("destroy " + w->className);
    auto& q = sim::queue();
    q.erase(std::remove_if(q.begin(), q.end(), [w](const sim::Posted& m) { return m.window == w; }),
            q.end());
    auto& list = sim::windows();
    list.erase(
        std::remove_if(list.begin(), list.end(), [w](const auto& p) { return p.get() == w; }),
        list.end());
}

intptr_t defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == msg::kClose) {
        destroyWindow(window);
    }
    return 0;
}

void postMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (sim::TopWindow* w = sim::live(window); w != nullptr) {
        sim::queue().push_back({w, message, wParam, lParam});
    }
}

bool dispatchWaitingMessage() {
    auto& q = sim::queue();
    if (!q.empty()) {
        sim::Posted m = q.front();
        q.pop_front();
        m.window->proc(m.window, m.message, m.wParam, m.lParam);
        return true;
    }
    if (sim::windows().empty()) {
        return false;
    }
    sim::TopWindow* target = sim::windows().back().get();
    while (sim::framesLeft == 0) {
        if (sim::script().empty()) {
            sim::windowLog().push_back("script ended: close");
            target->proc(target, msg::kClose, 0, 0);
            return true;
        }
        sim::TestEvent event = sim::script().front();
        sim::script().pop_front();
        switch (event.kind) {
            case sim::TestEvent::Kind::Frames:
                sim::framesLeft = event.frames;
                break;
            case sim::TestEvent::Kind::Png:
                sim::saveNextFrame(event.path);
                sim::framesLeft = 1;  // the frame to write
                break;
            case sim::TestEvent::Kind::Lose:
                sim::loseDisplaySurfaces();
                break;
            case sim::TestEvent::Kind::Close:
                sim::windowLog().push_back("close");
                target->proc(target, msg::kClose, 0, 0);
                return true;
            case sim::TestEvent::Kind::Key: {
                sim::ctrlDown = event.ctrl;
                sim::windowLog().push_back(std::string("key ") + sim::hexKey(event.key) +
                                           (event.repeat ? " held" : "") +
                                           (event.ctrl ? " ctrl" : ""));
                const intptr_t lParam = 1 | (event.repeat ? kKeyWasDown : 0);
                target->proc(target, msg::kKeyDown, event.key, lParam);
                sim::ctrlDown = false;
                return true;
            }
        }
    }
    --sim::framesLeft;
    return false;
}

bool keyIsDown(uint32_t virtualKey) {
    return virtualKey == kVkControl && sim::ctrlDown;
}

void enableWindow(WindowHandle window, bool enable) {
    if (enable) {
        sim::disabledWindows().erase(window);
    } else {
        sim::disabledWindows().insert(window);
    }
    sim::windowLog().push_back(enable ? "enable" : "disable");
}

void activateWindow(WindowHandle) {
    sim::windowLog().push_back("activate");
}

void showErrorMessage(WindowHandle, const char* text, const char* caption) {
    sim::errorMessages().push_back(
        {text != nullptr ? text : "", caption != nullptr ? caption : ""});
    sim::windowLog().push_back(std::string("message ") + (caption != nullptr ? caption : "") +
                               ": " + (text != nullptr ? text : ""));
}

}  // namespace vext::platform
