// The help viewer calls recorded by the simulation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vext::sim {

// Environment variable: the system default language id (decimal or 0x hex); English (United
// States) when unset.
constexpr const char* kSystemLanguageVariable = "VEXT_SIM_SYSTEM_LANGUAGE";

struct HelpCall {
    int ownerId;  // control id of the owner window
    std::string file;
    uint32_t command;
    const int32_t* table;
};

// Every call of this process, oldest first; clear it to start afresh.
std::vector<HelpCall>& helpCalls();

}  // namespace vext::sim
