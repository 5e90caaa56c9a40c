// The simulation root: the directory that stands for one simulated Windows machine with its
// boards. Every process that uses the same root sees the same registry, sections and boards.
#pragma once

#include <string>

namespace vext::sim {

// Environment variable that names the root.
constexpr const char* kSimRootVariable = "VEXT_SIM_ROOT";

// The root directory, created if missing: $VEXT_SIM_ROOT, or $HOME/.vext-sim when it is unset,
// or /tmp/vext-sim without a home directory.
std::string simRoot();

// A path inside the root.
std::string simPath(const std::string& name);

// An exclusive advisory lock on a lock file inside the root, held for the object's lifetime.
// The kernel drops it when the holder dies, so a crashed process never blocks the others.
class RootFileLock {
  public:
    explicit RootFileLock(const std::string& name);
    ~RootFileLock();
    RootFileLock(const RootFileLock&) = delete;
    RootFileLock& operator=(const RootFileLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Writes a file so that readers see either the old or the new contents, never a torn one.
bool replaceFileAtomically(const std::string& path, const std::string& contents);

// Reads a whole file; false when it does not exist or cannot be read.
bool readWholeFile(const std::string& path, std::string* contents);

}  // namespace vext::sim
