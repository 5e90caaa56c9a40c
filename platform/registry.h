// Registry keys: the one store that the driver, the panel and setup share with Windows.
//
// Win32 maps these onto the real registry API. The simulation keeps a key tree per simulation
// root in a text file that every process of that root shares (platform/sim/registry.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vext::platform {

enum class RegRoot { LocalMachine, ClassesRoot };

// Value types as Windows numbers them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

class RegKey {
  public:
    RegKey();
    ~RegKey();
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens an existing key for reading; invalid when the key does not exist.
    static RegKey open(RegRoot root, const char* path);
    // Opens an existing key with full access; fails where the caller may not write the key.
    static RegKey openAllAccess(RegRoot root, const char* path);
    // Opens the key for writing, creating it and every missing parent.
    static RegKey create(RegRoot root, const char* path);

    bool valid() const { return impl_ != nullptr; }
    explicit operator bool() const { return valid(); }

    // Copies the value's raw data into buf. On entry *size is the buffer size; on success it is
    // the data length. Fails, leaving buf untouched, when the value is missing or its data is
    // larger than the buffer. type, when given, receives the value's type.
    bool query(const char* name, void* buf, uint32_t* size, uint32_t* type = nullptr) const;

    // Sets a REG_SZ value whose data is exactly byteCount bytes of data.
    bool setString(const char* name, const void* data, uint32_t byteCount);
    bool setDword(const char* name, uint32_t value);

    struct Impl;

  private:
    explicit RegKey(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vext::platform
