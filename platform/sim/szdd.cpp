#include "platform/sim/szdd.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vext::sim {

namespace {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kWindowSize = 4096;
constexpr size_t kWindowStart = kWindowSize - 16;
// The most one byte of input can give: a match of 18 bytes from two bytes and an eighth of a flag.
constexpr size_t kMostOutputPerInputByte = 9;

}  // namespace

SzddStatus expandSzdd(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
    out->clear();
    // A file cut inside the magic still shows what it was meant to be.
    if (size < 4 || std::memcmp(data, kMagic, std::min(size, sizeof kMagic)) != 0) {
        return SzddStatus::NotCompressed;
    }
    if (size < kSzddHeaderSize || data[8] != 'A') {
        return SzddStatus::Corrupt;
    }
    const size_t length = static_cast<size_t>(data[10]) | static_cast<size_t>(data[11]) << 8 |
                          static_cast<size_t>(data[12]) << 16 | static_cast<size_t>(data[13]) << 24;
    // A header that claims more than the data can hold is corrupt; saying so now spares the work.
    if (length / kMostOutputPerInputByte > size - kSzddHeaderSize) {
        return SzddStatus::Corrupt;
    }
    out->reserve(length);

    std::array<uint8_t, kWindowSize> window;
    window.fill(' ');
    size_t position = kWindowStart;
    auto put = [&](uint8_t b) {
        out->push_back(b);
        window[position] = b;
        position = (position + 1) % kWindowSize;
    };

    size_t in = kSzddHeaderSize;
    while (out->size() < length) {
        if (in >= size) {
            return SzddStatus::Corrupt;
        }
        const uint8_t flags = data[in++];
        for (int bit = 0; bit < 8 && out->size() < length; ++bit) {
            if ((flags >> bit) & 1) {
                if (in >= size) {
                    return SzddStatus::Corrupt;
                }
                put(data[in++]);
                continue;
            }
            if (size - in < 2) {
                return SzddStatus::Corrupt;
            }
            size_t from = data[in] | static_cast<size_t>(data[in + 1] & 0xF0) << 4;
            size_t count = static_cast<size_t>(data[in + 1] & 0x0F) + 3;
            in += 2;
            count = std::min(count, length - out->size());
            for (size_t i = 0; i < count; ++i) {
                put(window[(from + i) % kWindowSize]);
            }
        }
    }
    return SzddStatus::Expanded;
}

}  // namespace vext::sim
