// Our reader of the LZ "SZDD" format that the Windows LZ expansion functions read.
//
// A 14-byte header: the magic "SZDD" 88 F0 27 33, the method 'A', the last letter of the file
// name (or 0), the expanded length as 32 bits little-endian. Then blocks of a flag byte and
// eight items, low bit first: bit set, one literal byte; bit clear, two bytes naming a match in a
// 4096-byte window (position = b0 | (b1 & 0xF0) << 4, length = (b1 & 0x0F) + 3). The window
// starts filled with spaces and is written from position 4096 - 16 on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vext::sim {

enum class SzddStatus {
    Expanded,       // out holds the expanded file
    NotCompressed,  // no SZDD magic: the file is copied as it is
    Corrupt,        // SZDD magic (or a file cut inside it), but a short header, another method
                    // or too little data
};

constexpr size_t kSzddHeaderSize = 14;

// Expands data into out. The header's length is the file's: data that ends before it is
// corrupt, and bytes after it (the padding some compressors write) are ignored. Never reads
// outside data, and never grows out beyond the header's length.
SzddStatus expandSzdd(const uint8_t* data, size_t size, std::vector<uint8_t>* out);

}  // namespace vext::sim
