// LZ expansion on the simulation: our SZDD reader over files of the simulated drives.
#include "platform/lz_expand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/simroot.h"
#include "platform/sim/szdd.h"

namespace vext::platform {

ExpandResult expandFile(const char* source, const char* target) {
    std::string data;
    std::string from = sim::hostPath(source);
    // Only a file can be opened for reading, as on Windows: a directory reads as empty here.
    struct stat st;
    if (from.empty() || stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !sim::readWholeFile(from, &data)) {
        return ExpandResult::SourceMissing;
    }
    std::vector<uint8_t> expanded;
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    switch (sim::expandSzdd(bytes, data.size(), &expanded)) {
        case sim::SzddStatus::Expanded:
            data.assign(expanded.begin(), expanded.end());
            break;
        case sim::SzddStatus::NotCompressed:
            break;  // copied as it is
        case sim::SzddStatus::Corrupt:
            return ExpandResult::SourceCorrupt;
    }
    // The whole file or nothing: a reader never sees a half-written target.
    std::string to = sim::hostPath(target);
    if (to.empty() || !sim::replaceFileAtomically(to, data)) {
        return ExpandResult::TargetFailed;
    }
    return ExpandResult::Done;
}

}  // namespace vext::platform
