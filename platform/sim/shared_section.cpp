// Named sections of the simulation: a file "sections/NAME" in the simulation root that every
// process maps shared, so that all processes of one root see the same bytes.
//
// Windows destroys a section when its last handle and view are gone. The simulation follows that
// with a holder count kept by the kernel: every handle and every view holds a shared file lock on
// "sections/NAME.holders". A create that finds no holder starts a fresh zero-filled section; an
// open that finds none fails, as OpenFileMappingA does. A process that ends drops its locks, so
// the section goes away with its last process, whatever way that process ended.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/shared_section.h"
#include "platform/sim/simroot.h"

namespace vext::platform {

struct SectionHandle::Impl {
    std::string dataPath;
    int holderFd;
};

namespace {

struct ViewRecord {
    size_t size;
    int holderFd;
};

std::mutex& viewsMutex() {
    static std::mutex m;
    return m;
}

std::map<void*, ViewRecord>& views() {
    static std::map<void*, ViewRecord> v;
    return v;
}

bool validName(const char* name) {
    if (name == nullptr || *name == '\0') {
        return false;
    }
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            return false;
        }
    }
    return std::string(name) != "." && std::string(name) != "..";
}

int lockRetrying(int fd, int operation) {
    int rc;
    do {
        rc = flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// Opens the section and takes a holder lock. Creates it (size bytes) when create is set and no
// process holds it; an open that finds no holder fails.
SectionHandle::Impl* acquire(const char* name, bool create, uint32_t size) {
    if (!validName(name)) {
        return nullptr;
    }
    mkdir(sim::simPath("sections").c_str(), 0777);
    std::string base = sim::simPath(std::string("sections/") + name);
    // Creators and openers take turns, so that the holder test below and the change of the
    // holder lock from exclusive to shared are not torn apart by another process.
    sim::RootFileLock turn("sections.lock");
    if (!turn.held()) {
        return nullptr;
    }
    int holderFd = ::open((base + ".holders").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (holderFd < 0) {
        return nullptr;
    }
    bool unheld = lockRetrying(holderFd, LOCK_EX | LOCK_NB) == 0;
    if (unheld) {
        if (!create) {
            // What a section left when its last holder went is gone with it.
            unlink(base.c_str());
            close(holderFd);
            return nullptr;
        }
        int fd = ::open(base.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ftruncate(fd, size) != 0) {
            if (fd >= 0) {
                ::close(fd);
            }
            close(holderFd);
            return nullptr;
        }
        ::close(fd);
    }
    if (lockRetrying(holderFd, LOCK_SH | LOCK_NB) != 0) {
        close(holderFd);
        return nullptr;
    }
    return new SectionHandle::Impl{base, holderFd};
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
    return SectionHandle(acquire(name, true, size));
}

SectionHandle SectionHandle::open(const char* name) {
    return SectionHandle(acquire(name, false, 0));
}

void* SectionHandle::mapView() const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    int fd = ::open(handle_->dataPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_size <= 0) {
        ::close(fd);
        return nullptr;
    }
    size_t size = static_cast<size_t>(st.st_size);
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        return nullptr;
    }
    // The view holds the section on its own, past the handle's close.
    int holderFd = fcntl(handle_->holderFd, F_DUPFD_CLOEXEC, 0);
    if (holderFd < 0) {
        munmap(view, size);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(viewsMutex());
    views()[view] = {size, holderFd};
    return view;
}

void SectionHandle::close() {
    if (handle_ != nullptr) {
        ::close(handle_->holderFd);
        delete handle_;
        handle_ = nullptr;
    }
}

void unmapSectionView(void* view) {
    std::lock_guard<std::mutex> lock(viewsMutex());
    auto it = views().find(view);
    if (it == views().end()) {
        return;
    }
    munmap(view, it->second.size);
    close(it->second.holderFd);
    views().erase(it);
}

}  // namespace vext::platform
