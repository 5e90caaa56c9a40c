// System facts on the simulation: the simulated machine of the simulation root.
#include "platform/system_facts.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/sim/machine.h"

namespace vext::platform {

namespace {

bool copyOut(const std::string& text, char* buf, size_t size) {
    if (size == 0) {
        return false;
    }
    if (text.empty() || text.size() >= size) {
        buf[0] = '\0';
        return false;
    }
    std::memcpy(buf, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

uint32_t windowsVersion() {
    return sim::machineVersion();
}

bool windowsDirectory(char* buf, size_t size) {
    sim::prepareWindows();
    return copyOut(sim::machineWindowsDirectory(), buf, size);
}

bool programFileName(char* buf, size_t size) {
    std::string program = sim::machineFact("program");
    if (program.empty()) {
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0) {
            return copyOut("", buf, size);
        }
        program = sim::windowsPathOf(std::string(self, static_cast<size_t>(n)));
    }
    return copyOut(program, buf, size);
}

bool isLeadByte(char c) {
    if (sim::machineFact("codepage") != "932") {
        return false;  // host file names are UTF-8, whose bytes never hide an ASCII letter
    }
    auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace vext::platform
