// Named locks of the simulation: an exclusive file lock on "locks/NAME" in the simulation root.
// The kernel drops a file lock when its holder ends, so a process that dies holding the lock
// never blocks the others. Recursion within a thread is counted here.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "platform/named_lock.h"
#include "platform/sim/simroot.h"

namespace vext::platform {

namespace {

struct Held {
    int fd;
    int depth;
};

// Per thread: the locks this thread holds, by path.
thread_local std::map<std::string, Held> tHeld;

uint64_t nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

}  // namespace

NamedLock::NamedLock(const char* name, uint32_t timeoutMs) {
    if (name == nullptr || *name == '\0' || std::string(name).find('/') != std::string::npos) {
        return;
    }
    mkdir(sim::simPath("locks").c_str(), 0777);
    std::string path = sim::simPath(std::string("locks/") + name);
    auto it = tHeld.find(path);
    if (it != tHeld.end()) {
        ++it->second.depth;
        handle_ = &it->second;
        return;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    const uint64_t deadline = nowMs() + timeoutMs;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || nowMs() >= deadline) {
            close(fd);
            return;
        }
        // Waiters poll, so that a holder that never lets go costs at most the timeout.
        timespec pause{0, 20000};
        nanosleep(&pause, nullptr);
    }
    auto inserted = tHeld.emplace(path, Held{fd, 1});
    handle_ = &inserted.first->second;
}

NamedLock::~NamedLock() {
    if (handle_ == nullptr) {
        return;
    }
    Held* held = static_cast<Held*>(handle_);
    if (--held->depth > 0) {
        return;
    }
    for (auto it = tHeld.begin(); it != tHeld.end(); ++it) {
        if (&it->second == held) {
            flock(held->fd, LOCK_UN);
            close(held->fd);
            tHeld.erase(it);
            break;
        }
    }
}

}  // namespace vext::platform
