// vextsim: the command that lets a person look into and drive a simulation root.
// Each command group lives in a file of its own and is listed in vextsim.cpp.
#pragma once

#include <string>
#include <vector>

namespace vext::tools {

using Args = std::vector<std::string>;

struct CommandGroup {
    const char* name;
    const char* usage;  // one line per command, shown by "vextsim help"
    int (*run)(const Args& args);
};

int runRegistryCommand(const Args& args);
int runTVOutCommand(const Args& args);
int runBoardCommand(const Args& args);
int runSystemCommand(const Args& args);
int runUiCommand(const Args& args);

// Prints "vextsim: message" to stderr and returns the exit code for a usage error.
int usageError(const std::string& message);

// Parses a whole unsigned number in decimal or 0x hex; false on anything else.
bool parseNumber(const std::string& text, unsigned long max, unsigned long* value);

}  // namespace vext::tools
