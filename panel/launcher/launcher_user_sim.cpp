// On the simulation the dialog is headless: vextpanel acts on it with the commands given as
// arguments, in order, and prints what the dialog shows and what it asks of the help viewer.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "panel/launcher/launcher_user.h"
#include "panel/tvout_dialog.h"
#include "platform/sim/sim_dialog.h"
#include "platform/sim/sim_display.h"
#include "platform/sim/sim_help.h"
#include "platform/sim/sim_test_window.h"

namespace vext::launcher {

namespace {

const struct {
    const char* name;
    int id;
} kControlNames[] = {
    {"ok", ctl::kOk},
    {"cancel", ctl::kCancel},
    {"test", ctl::kTest},
    {"svideo", ctl::kSVideo},
    {"composite", ctl::kComposite},
    {"both", ctl::kBoth},
    {"dotcrawl", ctl::kDotCrawl},
    {"filter", ctl::kFlickerFilter},
    {"tvonly", ctl::kTvOnly},
    {"contrast", ctl::kContrast},
    {"brightness", ctl::kBrightness},
    {"overscan", ctl::kOverscan},
    {"underscan", ctl::kUnderscan},
    {"resolution", ctl::kResolution},
    {"default", ctl::kDefault},
    {"vertical", ctl::kVertical},
    {"horizontal", ctl::kHorizontal},
    {"preview", ctl::kPreviewFrame},
    {"reso", -1},
};

std::vector<std::string> commands;

bool controlId(const std::string& word, int* id) {
    for (const auto& c : kControlNames) {
        if (word == c.name) {
            *id = c.id;
            return true;
        }
    }
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0') {
        return false;
    }
    *id = static_cast<int>(value);
    return true;
}

void usage() {
    std::fprintf(stderr,
                 "usage: vextpanel [COMMAND]...\n"
                 "Opens the TV-out settings dialog on the simulation and acts on it:\n"
                 "  show                 print every control's state\n"
                 "  click CONTROL        click a button, radio button or check box\n"
                 "  slide CONTROL VALUE  drag a slider to VALUE\n"
                 "  help CONTROL         ask for help on a control\n"
                 "  ok | cancel          click OK or Cancel\n"
                 "  esc | enter          press the key\n"
                 "  png FILE             write a picture of the dialog as a PNG file\n"
                 "  testkeys SCRIPT      the keys of the next test (click test), for example\n"
                 "                       \"testkeys down right frames 30 png f.png enter\"\n"
                 "                       (README.md: the test mode on the simulation)\n"
                 "CONTROL is an id or one of: ok cancel test svideo composite both filter\n"
                 "tvonly contrast brightness overscan underscan resolution default vertical\n"
                 "horizontal preview reso. Without OK, Cancel or Esc the dialog is closed\n"
                 "at the end, which cancels it.\n");
}

// Runs one command; false when it cannot be understood.
bool perform(sim::SimDialog& d, const std::string& command) {
    std::istringstream in(command);
    std::string verb, target, value;
    in >> verb >> target >> value;
    int id = 0;
    if (verb == "show") {
        std::cout << d.describe();
        return true;
    }
    if (verb == "ok" || verb == "cancel") {
        return d.click(verb == "ok" ? ctl::kOk : ctl::kCancel);
    }
    if (verb == "esc") {
        return d.pressEscape();
    }
    if (verb == "enter") {
        return d.pressEnter();
    }
    if (verb == "testkeys") {
        std::vector<sim::TestEvent> events;
        std::string error;
        if (!sim::parseTestScript(command.substr(command.find("testkeys") + 8), &events, &error)) {
            std::cerr << "vextpanel: " << error << "\n";
            return false;
        }
        sim::setTestScript(std::move(events));
        return true;
    }
    if (verb == "png") {
        if (!d.writePng(target)) {
            std::cerr << "vextpanel: cannot write " << target << "\n";
        }
        return true;
    }
    if (!controlId(target, &id)) {
        return false;
    }
    if (verb == "click") {
        if (!d.click(id)) {
            std::cout << "control " << id << " takes no click\n";
        }
        return true;
    }
    if (verb == "slide") {
        char* end = nullptr;
        long position = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0') {
            return false;
        }
        if (!d.slide(id, static_cast<int>(position))) {
            std::cout << "control " << id << " is no slider\n";
        }
        return true;
    }
    if (verb == "help") {
        const size_t before = sim::helpCalls().size();
        d.requestHelp(id);
        if (sim::helpCalls().size() == before) {
            std::cout << "no help for control " << id << "\n";
        }
        for (size_t i = before; i < sim::helpCalls().size(); ++i) {
            const sim::HelpCall& call = sim::helpCalls()[i];
            int32_t context = 0;
            for (const int32_t* pair = call.table; pair[0] != 0 || pair[1] != 0; pair += 2) {
                context = pair[0] == call.ownerId ? pair[1] : context;
            }
            std::cout << "help: " << call.file << ", topic " << context << "\n";
        }
        return true;
    }
    return false;
}

}  // namespace

bool PrepareUser(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage();
            return false;
        }
        commands.emplace_back(argv[i]);
    }
    sim::setDialogUser([](sim::SimDialog& d) {
        for (const std::string& command : commands) {
            if (!d.isOpen()) {
                std::cout << "the dialog is closed; \"" << command << "\" is not run\n";
                continue;
            }
            const size_t messages = sim::errorMessages().size();
            const size_t frames = sim::savedFrames().size();
            if (!perform(d, command)) {
                std::cerr << "vextpanel: not understood: " << command << "\n";
            }
            for (size_t i = frames; i < sim::savedFrames().size(); ++i) {
                std::cout << "test frame: " << sim::savedFrames()[i] << "\n";
            }
            for (size_t i = messages; i < sim::errorMessages().size(); ++i) {
                std::cout << "message box \"" << sim::errorMessages()[i].caption
                          << "\": " << sim::errorMessages()[i].text << "\n";
            }
        }
        if (d.isOpen()) {
            std::cout << "closing the dialog\n";
        }
    });
    return true;
}

void FinishUser(int32_t result) {
    if (result == 0) {
        std::cout << "TVOutControl returned 0: the panel is not available\n";
    }
}

}  // namespace vext::launcher
