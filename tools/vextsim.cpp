#include "tools/vextsim.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/sim/simroot.h"

namespace vext::tools {

namespace {

const CommandGroup kGroups[] = {
    {"reg",
     "reg show [KEY]                      list the registry (REGEDIT4 form), or one key and below\n"
     "reg set KEY NAME TEXT               set a REG_SZ value (TEXT and its NUL)\n"
     "reg set KEY NAME --dword N          set a REG_DWORD value\n"
     "reg set KEY NAME --padded N TEXT    set a REG_SZ value of N bytes (TEXT, NUL, zeros)\n"
     "reg delete KEY [NAME]               delete a value, or a key and everything below it\n"
     "  KEY starts with HKEY_LOCAL_MACHINE (HKLM) or HKEY_CLASSES_ROOT (HKCR)\n",
     runRegistryCommand},
    {"tvout",
     "tvout get RES [--defaults]          read the TV-out settings of a resolution as the driver "
     "does\n"
     "tvout set RES FIELD=N ...           change fields and store the record through the driver\n"
     "  RES is a resolution name (640x480) or code (7); FIELD is one of enable, outputDevice,\n"
     "  dotCrawl, flickerFilter, tvOnly, underscan, contrast, brightness, overH, overV, underH, "
     "underV\n",
     runTVOutCommand},
    {"board",
     "board create N [OPTIONS]            create board N (0 or 1), or reset it to power-on state\n"
     "  --no-encoder  --nak BYTE  --probe VALUE  --reg0 PATTERN  --reg214 0|1  --address A\n"
     "  --ack-all     (no encoder; a device that acknowledges every byte)\n"
     "board program [RES] [--hold S]      have the driver set up TV output at RES (640x480) as\n"
     "                                    the host does; --hold keeps the section S seconds\n"
     "board show [N]                      the board, its encoder registers, the latest "
     "transactions\n"
     "board log N [COUNT]                 the encoder's transaction log\n"
     "board vcd N FILE                    write the recorded bus lines as VCD (scl, sda)\n"
     "board clear N                       forget the log, the capture and the error counts\n"
     "board remove N                      remove board N\n",
     runBoardCommand},
    {"system",
     "system show                         the simulated Windows machine that setup runs on\n"
     "system set version nt4|win95|win98|N   its GetVersion word\n"
     "system set windows PATH|--default   its Windows directory (default C:\\WINNT)\n"
     "system set program PATH|--default   the path setup sees as its own (default: the real one)\n"
     "system set codepage 932|none        double-byte characters in its file names\n"
     "system path WINPATH                 the host file of a Windows path (Z: is /, X: drive_x)\n",
     runSystemCommand},
    {"ui",
     "ui answer WORD...                   queue the user's answers: ok, cancel, yes, no\n"
     "ui log                              what the dialogs and message boxes showed\n"
     "ui clear                            forget queued answers and the log\n",
     runUiCommand},
};

void printHelp() {
    std::printf("usage: vextsim COMMAND ...\n\n");
    for (const CommandGroup& group : kGroups) {
        std::printf("%s\n", group.usage);
    }
    std::printf("The simulation root is $%s (now %s).\n", sim::kSimRootVariable,
                sim::simRoot().c_str());
}

}  // namespace

int usageError(const std::string& message) {
    std::fprintf(stderr, "vextsim: %s (see 'vextsim help')\n", message.c_str());
    return 2;
}

bool parseNumber(const std::string& text, unsigned long max, unsigned long* value) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0' || v > max) {
        return false;
    }
    *value = v;
    return true;
}

}  // namespace vext::tools

int main(int argc, char** argv) {
    using namespace vext::tools;
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        printHelp();
        return argc < 2 ? 2 : 0;
    }
    std::string name = argv[1];
    for (const CommandGroup& group : kGroups) {
        if (name == group.name) {
            return group.run(Args(argv + 2, argv + argc));
        }
    }
    return usageError("unknown command '" + name + "'");
}
