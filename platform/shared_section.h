// Named shared memory sections: the one state that every process loading the driver shares.
//
// Win32 uses a paging-file backed file mapping. The simulation keeps the section as a file in the
// simulation root that every process maps, and counts its holders so that it lives exactly as
// long as on Windows (platform/sim/shared_section.cpp).
#pragma once

#include <cstdint>

namespace vext::platform {

// A handle to a named section. A view mapped through it stays valid after the handle is closed,
// for the rest of the process, as a Windows view does.
class SectionHandle {
  public:
    SectionHandle() = default;
    ~SectionHandle();
    SectionHandle(SectionHandle&& other) noexcept;
    SectionHandle& operator=(SectionHandle&& other) noexcept;
    SectionHandle(const SectionHandle&) = delete;
    SectionHandle& operator=(const SectionHandle&) = delete;

    // Creates the section with the given size, zero-filled, or hands back the existing one with
    // its contents. Invalid on failure.
    static SectionHandle create(const char* name, uint32_t size);
    // Opens an existing section for read, write and map access; invalid when no process holds it.
    static SectionHandle open(const char* name);

    bool valid() const { return handle_ != nullptr; }
    explicit operator bool() const { return valid(); }

    // Maps a read-write view of the whole section; nullptr on failure.
    void* mapView() const;
    // Closes the handle now; views stay mapped.
    void close();

    struct Impl;

  private:
    explicit SectionHandle(Impl* handle) : handle_(handle) {}
    Impl* handle_ = nullptr;
};

// Unmaps a view that mapView returned. The driver never unmaps its view (it ends with the
// process); tests use this to start afresh inside one process.
void unmapSectionView(void* view);

}  // namespace vext::platform
