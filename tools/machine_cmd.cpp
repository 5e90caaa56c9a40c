// vextsim system and vextsim ui: the simulated machine that setup runs on, and the simulated
// user who answers its dialog and message boxes.
#include <cstdio>
#include <string>

#include "platform/sim/machine.h"
#include "platform/sim/simroot.h"
#include "platform/sim/ui_script.h"
#include "tools/vextsim.h"

namespace vext::tools {

namespace {

std::string versionName(uint32_t version) {
    if ((version & 0xF0000000u) != 0) {
        return "Windows 95/98: setup refuses to run";
    }
    return "Windows NT " + std::to_string(version & 0xFF) + "." +
           std::to_string((version >> 8) & 0xFF) + " build " + std::to_string(version >> 16);
}

int show() {
    uint32_t version = sim::machineVersion();
    std::string windows = sim::machineWindowsDirectory();
    std::string program = sim::machineFact("program");
    std::string codepage = sim::machineFact("codepage");
    std::printf("version   0x%08x (%s)\n", version, versionName(version).c_str());
    std::printf("windows   %s (%s)\n", windows.c_str(), sim::hostPath(windows).c_str());
    std::printf("program   %s\n",
                program.empty() ? "(the program's own path, on Z:)" : program.c_str());
    std::printf("codepage  %s\n", codepage.empty() ? "(none: UTF-8 names)" : codepage.c_str());
    return 0;
}

int set(const Args& args) {
    if (args.size() != 2) {
        return usageError("system set takes NAME VALUE");
    }
    const std::string& name = args[0];
    std::string value = args[1];
    if (name == "version") {
        unsigned long number = 0;
        if (value == "nt4") {
            number = sim::kVersionNT4;
        } else if (value == "win95") {
            number = sim::kVersionWin95;
        } else if (value == "win98") {
            number = sim::kVersionWin98;
        } else if (!parseNumber(value, 0xFFFFFFFFul, &number)) {
            return usageError("version is nt4, win95, win98 or a GetVersion word");
        }
        char text[16];
        std::snprintf(text, sizeof text, "0x%08lx", number);
        value = text;
    } else if (name == "windows" || name == "program") {
        if (value == "--default") {
            value.clear();
        } else if (sim::hostPath(value).empty()) {
            return usageError(name + " needs a path with a drive, like C:\\WINNT");
        }
    } else if (name == "codepage") {
        if (value != "932" && value != "none") {
            return usageError("codepage is 932 or none");
        }
        value = value == "none" ? "" : value;
    } else {
        return usageError("unknown fact '" + name + "'");
    }
    if (!sim::setMachineFact(name, value)) {
        std::fprintf(stderr, "vextsim: could not write %s\n", sim::simPath("machine.txt").c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int runSystemCommand(const Args& args) {
    if (args.size() == 1 && args[0] == "show") {
        return show();
    }
    if (!args.empty() && args[0] == "set") {
        return set(Args(args.begin() + 1, args.end()));
    }
    if (args.size() == 2 && args[0] == "path") {
        std::string host = sim::hostPath(args[1]);
        if (host.empty()) {
            return usageError("path needs a Windows path with a drive");
        }
        std::printf("%s\n", host.c_str());
        return 0;
    }
    return usageError("system needs show, set NAME VALUE or path WINPATH");
}

int runUiCommand(const Args& args) {
    if (args.size() >= 2 && args[0] == "answer") {
        std::string words;
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& w = args[i];
            if (w != "ok" && w != "cancel" && w != "yes" && w != "no") {
                return usageError("answers are ok, cancel, yes or no");
            }
            words += (words.empty() ? "" : " ") + w;
        }
        return sim::addAnswers(words) ? 0 : 1;
    }
    if (args.size() == 1 && args[0] == "log") {
        std::string text;
        sim::readWholeFile(sim::simPath("screen.log"), &text);
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "clear") {
        std::remove(sim::simPath("answers.txt").c_str());
        std::remove(sim::simPath("screen.log").c_str());
        return 0;
    }
    return usageError("ui needs answer WORD..., log or clear");
}

}  // namespace vext::tools
