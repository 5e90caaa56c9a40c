// The registry on Windows: the real API, one HKEY per RegKey.
#include "platform/registry.h"

#include <windows.h>

namespace vext::platform {

struct RegKey::Impl {
    HKEY key = nullptr;
    ~Impl() {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
};

RegKey::RegKey() = default;
RegKey::~RegKey() = default;
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;
RegKey::RegKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

static HKEY rootKey(RegRoot root) {
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT;
}

RegKey RegKey::open(RegRoot root, const char* path) {
    HKEY key = nullptr;
    if (path == nullptr || RegOpenKeyExA(rootKey(root), path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return RegKey();
    }
    auto impl = std::make_unique<Impl>();
    impl->key = key;
    return RegKey(std::move(impl));
}

RegKey RegKey::openAllAccess(RegRoot root, const char* path) {
    HKEY key = nullptr;
    if (path == nullptr ||
        RegOpenKeyExA(rootKey(root), path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return RegKey();
    }
    auto impl = std::make_unique<Impl>();
    impl->key = key;
    return RegKey(std::move(impl));
}

RegKey RegKey::create(RegRoot root, const char* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (path == nullptr ||
        RegCreateKeyExA(rootKey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return RegKey();
    }
    auto impl = std::make_unique<Impl>();
    impl->key = key;
    return RegKey(std::move(impl));
}

bool RegKey::query(const char* name, void* buf, uint32_t* size, uint32_t* type) const {
    if (!impl_ || buf == nullptr || size == nullptr) {
        return false;
    }
    DWORD length = *size;
    DWORD valueType = 0;
    if (RegQueryValueExA(impl_->key, name, nullptr, &valueType, static_cast<BYTE*>(buf), &length) !=
        ERROR_SUCCESS) {
        return false;
    }
    *size = length;
    if (type != nullptr) {
        *type = valueType;
    }
    return true;
}

bool RegKey::setString(const char* name, const void* data, uint32_t byteCount) {
    return impl_ && RegSetValueExA(impl_->key, name, 0, REG_SZ, static_cast<const BYTE*>(data),
                                   byteCount) == ERROR_SUCCESS;
}

bool RegKey::setDword(const char* name, uint32_t value) {
    DWORD v = value;
    return impl_ && RegSetValueExA(impl_->key, name, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
}

}  // namespace vext::platform
