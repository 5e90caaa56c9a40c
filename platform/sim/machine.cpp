#include "platform/sim/machine.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <sstream>

#include "platform/registry.h"
#include "platform/sim/registry_store.h"
#include "platform/sim/simroot.h"

namespace vext::sim {

namespace {

constexpr const char* kMachineFile = "machine.txt";

std::string hostRootOfDrive(char drive) {
    char letter = static_cast<char>(drive | 0x20);
    if (letter == 'z') {
        return "";
    }
    return simRoot() + "/drive_" + letter;
}

// The entry of dir whose name equals name without regard to case; name itself when none does.
std::string findEntry(const std::string& dir, const std::string& name) {
    struct stat st;
    if (stat((dir + "/" + name).c_str(), &st) == 0) {
        return name;
    }
    std::string found = name;
    if (DIR* d = opendir(dir.empty() ? "/" : dir.c_str())) {
        while (dirent* entry = readdir(d)) {
            if (equalsIgnoreCase(entry->d_name, name)) {
                found = entry->d_name;
                break;
            }
        }
        closedir(d);
    }
    return found;
}

bool isDriveLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string machineFact(const std::string& name, const std::string& fallback) {
    std::string text;
    if (!readWholeFile(simPath(kMachineFile), &text)) {
        return fallback;
    }
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && equalsIgnoreCase(line.substr(0, eq), name)) {
            return line.substr(eq + 1);
        }
    }
    return fallback;
}

bool setMachineFact(const std::string& name, const std::string& value) {
    RootFileLock lock("machine.lock");
    std::string text;
    readWholeFile(simPath(kMachineFile), &text);
    std::istringstream lines(text);
    std::string line;
    std::string result;
    while (std::getline(lines, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && equalsIgnoreCase(line.substr(0, eq), name)) {
            continue;
        }
        result += line + "\n";
    }
    if (!value.empty()) {
        result += name + "=" + value + "\n";
    }
    return replaceFileAtomically(simPath(kMachineFile), result);
}

uint32_t machineVersion() {
    std::string text = machineFact("version");
    if (text.empty()) {
        return kVersionNT4;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    return end != nullptr && *end == '\0' ? static_cast<uint32_t>(value) : kVersionNT4;
}

std::string machineWindowsDirectory() {
    return machineFact("windows", kDefaultWindowsDirectory);
}

std::string hostPath(const std::string& windowsPath) {
    if (windowsPath.size() < 2 || !isDriveLetter(windowsPath[0]) || windowsPath[1] != ':') {
        return "";
    }
    std::string result = hostRootOfDrive(windowsPath[0]);
    size_t pos = 2;
    while (pos <= windowsPath.size()) {
        size_t end = windowsPath.find_first_of("\\/", pos);
        if (end == std::string::npos) {
            end = windowsPath.size();
        }
        std::string name = windowsPath.substr(pos, end - pos);
        if (!name.empty()) {
            result += "/" + findEntry(result, name);
        }
        pos = end + 1;
    }
    return result.empty() ? "/" : result;
}

std::string windowsPathOf(const std::string& host) {
    std::string drives = simRoot() + "/drive_";
    std::string rest;
    std::string windows;
    if (host.compare(0, drives.size(), drives) == 0 && host.size() > drives.size() &&
        isDriveLetter(host[drives.size()]) &&
        (host.size() == drives.size() + 1 || host[drives.size() + 1] == '/')) {
        windows = std::string(1, static_cast<char>(host[drives.size()] & ~0x20)) + ":";
        rest = host.substr(drives.size() + 1);
    } else {
        windows = "Z:";
        rest = host;
    }
    for (char& c : rest) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows + (rest.empty() ? "\\" : rest);
}

void prepareWindows() {
    std::string windows = machineWindowsDirectory();
    for (const char* sub : {"", "\\help", "\\system32", "\\system32\\drivers"}) {
        std::string path = hostPath(windows + sub);
        // Create each missing component, as found so far without regard to case.
        for (size_t slash = path.find('/', 1); !path.empty(); slash = path.find('/', slash + 1)) {
            mkdir(path.substr(0, slash).c_str(), 0777);
            if (slash == std::string::npos) {
                break;
            }
        }
    }
    const char* services = "SYSTEM\\CurrentControlSet\\Services";
    if (!platform::RegKey::open(platform::RegRoot::LocalMachine, services).valid()) {
        platform::RegKey::create(platform::RegRoot::LocalMachine, services);
    }
}

}  // namespace vext::sim
