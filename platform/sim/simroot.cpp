#include "platform/sim/simroot.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vext::sim {

static void makeDirectories(const std::string& path) {
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (!partial.empty()) {
            mkdir(partial.c_str(), 0777);
        }
    }
}

std::string simRoot() {
    std::string root;
    const char* env = std::getenv(kSimRootVariable);
    if (env != nullptr && *env != '\0') {
        root = env;
    } else {
        const char* home = std::getenv("HOME");
        root =
            (home != nullptr && *home != '\0') ? std::string(home) + "/.vext-sim" : "/tmp/vext-sim";
    }
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    makeDirectories(root);
    return root;
}

std::string simPath(const std::string& name) {
    return simRoot() + "/" + name;
}

RootFileLock::RootFileLock(const std::string& name) {
    fd_ = open(simPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        return;
    }
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd_);
            fd_ = -1;
            return;
        }
    }
}

RootFileLock::~RootFileLock() {
    if (fd_ >= 0) {
        flock(fd_, LOCK_UN);
        close(fd_);
    }
}

bool replaceFileAtomically(const std::string& path, const std::string& contents) {
    std::string temp = path + ".tmp." + std::to_string(getpid());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            close(fd);
            unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        unlink(temp.c_str());
        return false;
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string* contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *contents = buffer.str();
    return true;
}

}  // namespace vext::sim
