#include "platform/shared_section.h"

#include <windows.h>

#include <utility>

namespace vext::platform {

namespace {

HANDLE asHandle(SectionHandle::Impl* impl) {
    return reinterpret_cast<HANDLE>(impl);
}

}  // namespace

SectionHandle::~SectionHandle() {
    close();
}

SectionHandle::SectionHandle(SectionHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

SectionHandle& SectionHandle::operator=(SectionHandle&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

SectionHandle SectionHandle::create(const char* name, uint32_t size) {
    // Backed by the paging file; an existing section of that name comes back as it is.
    HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    return SectionHandle(reinterpret_cast<Impl*>(h));
}

SectionHandle SectionHandle::open(const char* name) {
    HANDLE h = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    return SectionHandle(reinterpret_cast<Impl*>(h));
}

void* SectionHandle::mapView() const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return MapViewOfFile(asHandle(handle_), FILE_MAP_ALL_ACCESS, 0, 0, 0);
}

void SectionHandle::close() {
    if (handle_ != nullptr) {
        CloseHandle(asHandle(handle_));
        handle_ = nullptr;
    }
}

void unmapSectionView(void* view) {
    if (view != nullptr) {
        UnmapViewOfFile(view);
    }
}

}  // namespace vext::platform
