// vextsim reg: shows and edits the simulated registry of the simulation root.
#include <cstdio>

#include "platform/sim/registry_store.h"
#include "tools/vextsim.h"

namespace vext::tools {

namespace {

using sim::RegistryTree;
using sim::RegKeyNode;
using sim::RegValue;
using sim::SimRegistry;

// Accepts the short root names that Windows users type, and answers the long ones.
bool resolveKey(const std::string& text, std::string* full) {
    std::string path = RegistryTree::normalise(text);
    std::string root = path.substr(0, path.find('\\'));
    std::string rest = path.size() > root.size() ? path.substr(root.size()) : "";
    if (sim::equalsIgnoreCase(root, "HKLM") || sim::equalsIgnoreCase(root, "HKEY_LOCAL_MACHINE")) {
        *full = "HKEY_LOCAL_MACHINE" + rest;
    } else if (sim::equalsIgnoreCase(root, "HKCR") ||
               sim::equalsIgnoreCase(root, "HKEY_CLASSES_ROOT")) {
        *full = "HKEY_CLASSES_ROOT" + rest;
    } else {
        return false;
    }
    return true;
}

int show(const Args& args) {
    std::string prefix;
    if (args.size() > 1) {
        return usageError("reg show takes at most one key");
    }
    if (!args.empty() && !resolveKey(args[0], &prefix)) {
        return usageError("unknown root in '" + args[0] + "'");
    }
    return SimRegistry::read([&](const RegistryTree& tree) {
        if (prefix.empty()) {
            std::fputs(tree.format().c_str(), stdout);
            return 0;
        }
        if (tree.find(prefix) == nullptr) {
            std::fprintf(stderr, "vextsim: no key %s\n", prefix.c_str());
            return 1;
        }
        std::fputs(tree.format(prefix).c_str(), stdout);
        return 0;
    });
}

int set(const Args& args) {
    if (args.size() < 3) {
        return usageError("reg set needs KEY NAME and a value");
    }
    std::string key;
    if (!resolveKey(args[0], &key)) {
        return usageError("unknown root in '" + args[0] + "'");
    }
    RegValue value;
    value.name = args[1] == "@" ? "" : args[1];
    unsigned long number = 0;
    if (args[2] == "--dword") {
        if (args.size() != 4 || !parseNumber(args[3], 0xFFFFFFFFul, &number)) {
            return usageError("--dword needs one number from 0 to 0xffffffff");
        }
        value.type = 4;
        for (int i = 0; i < 4; ++i) {
            value.data.push_back(static_cast<uint8_t>(number >> (8 * i)));
        }
    } else if (args[2] == "--padded") {
        if (args.size() != 5 || !parseNumber(args[3], 65536, &number) ||
            number < args[4].size() + 1) {
            return usageError("--padded needs a byte count that holds TEXT and its NUL, then TEXT");
        }
        value.type = 1;
        value.data.assign(args[4].begin(), args[4].end());
        value.data.resize(number, 0);
    } else {
        if (args.size() != 3) {
            return usageError("reg set KEY NAME TEXT takes one TEXT");
        }
        value.type = 1;
        value.data.assign(args[2].begin(), args[2].end());
        value.data.push_back(0);
    }
    bool ok = SimRegistry::update([&](RegistryTree& tree) {
        tree.create(key).setValue(value);
        return true;
    });
    if (!ok) {
        std::fprintf(stderr, "vextsim: could not write %s\n", SimRegistry::filePath().c_str());
        return 1;
    }
    return 0;
}

int remove(const Args& args) {
    if (args.empty() || args.size() > 2) {
        return usageError("reg delete takes KEY and an optional NAME");
    }
    std::string key;
    if (!resolveKey(args[0], &key)) {
        return usageError("unknown root in '" + args[0] + "'");
    }
    bool found = false;
    bool ok = SimRegistry::update([&](RegistryTree& tree) {
        if (args.size() == 1) {
            found = tree.deleteKey(key);
        } else if (RegKeyNode* node = tree.find(key)) {
            found = node->deleteValue(args[1] == "@" ? "" : args[1]);
        }
        return found;
    });
    if (!found) {
        std::fprintf(stderr, "vextsim: nothing to delete\n");
        return 1;
    }
    return ok ? 0 : 1;
}

}  // namespace

int runRegistryCommand(const Args& args) {
    if (args.empty()) {
        return usageError("reg needs show, set or delete");
    }
    Args rest(args.begin() + 1, args.end());
    if (args[0] == "show") {
        return show(rest);
    }
    if (args[0] == "set") {
        return set(rest);
    }
    if (args[0] == "delete") {
        return remove(rest);
    }
    return usageError("unknown reg command '" + args[0] + "'");
}

}  // namespace vext::tools
