// RegKey on the simulation: a key is its full path; every call works on the root's registry file.
#include "platform/registry.h"

#include <cstring>

#include "platform/sim/registry_store.h"

namespace vext::platform {

using sim::RegistryTree;
using sim::RegKeyNode;
using sim::RegValue;
using sim::SimRegistry;

struct RegKey::Impl {
    std::string path;
};

RegKey::RegKey() = default;
RegKey::~RegKey() = default;
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;
RegKey::RegKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

static std::string fullPath(RegRoot root, const char* path) {
    std::string prefix =
        root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CLASSES_ROOT\\";
    return RegistryTree::normalise(prefix + path);
}

RegKey RegKey::open(RegRoot root, const char* path) {
    if (path == nullptr) {
        return RegKey();
    }
    std::string full = fullPath(root, path);
    bool exists =
        SimRegistry::read([&](const RegistryTree& tree) { return tree.find(full) != nullptr; });
    if (!exists) {
        return RegKey();
    }
    return RegKey(std::make_unique<Impl>(Impl{full}));
}

// The simulated registry has no access control: every process may write every key.
RegKey RegKey::openAllAccess(RegRoot root, const char* path) {
    return open(root, path);
}

RegKey RegKey::create(RegRoot root, const char* path) {
    if (path == nullptr) {
        return RegKey();
    }
    std::string full = fullPath(root, path);
    bool created = SimRegistry::update([&](RegistryTree& tree) {
        if (tree.find(full) != nullptr) {
            return true;  // nothing to write, but the key is there
        }
        tree.create(full);
        return true;
    });
    if (!created) {
        return RegKey();
    }
    return RegKey(std::make_unique<Impl>(Impl{full}));
}

bool RegKey::query(const char* name, void* buf, uint32_t* size, uint32_t* type) const {
    if (!impl_ || buf == nullptr || size == nullptr) {
        return false;
    }
    std::string valueName = name != nullptr ? name : "";
    return SimRegistry::read([&](const RegistryTree& tree) {
        const RegKeyNode* node = tree.find(impl_->path);
        const RegValue* value = node != nullptr ? node->findValue(valueName) : nullptr;
        if (value == nullptr || value->data.size() > *size) {
            return false;
        }
        if (!value->data.empty()) {
            std::memcpy(buf, value->data.data(), value->data.size());
        }
        *size = static_cast<uint32_t>(value->data.size());
        if (type != nullptr) {
            *type = value->type;
        }
        return true;
    });
}

static bool setValue(const std::string& path, const char* name, uint32_t type, const void* data,
                     uint32_t byteCount) {
    if (data == nullptr && byteCount != 0) {
        return false;
    }
    RegValue value;
    value.name = name != nullptr ? name : "";
    value.type = type;
    const auto* bytes = static_cast<const uint8_t*>(data);
    value.data.assign(bytes, bytes + byteCount);
    return SimRegistry::update([&](RegistryTree& tree) {
        RegKeyNode* node = tree.find(path);
        if (node == nullptr) {
            return false;  // deleted since it was opened, as a deleted key's handle fails on
                           // Windows
        }
        node->setValue(std::move(value));
        return true;
    });
}

bool RegKey::setString(const char* name, const void* data, uint32_t byteCount) {
    return impl_ && setValue(impl_->path, name, kRegSz, data, byteCount);
}

bool RegKey::setDword(const char* name, uint32_t value) {
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return impl_ && setValue(impl_->path, name, kRegDword, bytes, 4);
}

}  // namespace vext::platform
