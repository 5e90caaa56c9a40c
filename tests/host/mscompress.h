// Files compressed by Debian's mscompress, the independent SZDD compressor our expander is
// checked against. It garbles files shorter than 16 bytes, so the tests give it none (but the
// empty file, which it writes correctly).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vext::test {

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// Compresses data with mscompress in dir (as dir/name) and returns the compressed bytes.
inline std::string mscompress(const std::string& dir, const std::string& name,
                              const std::string& data) {
    std::string path = dir + "/" + name;
    writeFile(path, data);
    std::remove((path + "_").c_str());
    std::string command = "mscompress '" + path + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "mscompress is missing (scripts/deps.sh)";
    std::string compressed = readFile(path + "_");
    std::remove((path + "_").c_str());
    std::remove(path.c_str());
    return compressed;
}

// Test contents: reproducible bytes of every kind.
inline std::string textSample() {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line " + std::to_string(i) + ": the TV-out driver and its settings panel\r\n";
    }
    return text;
}

inline std::string binarySample(size_t size, uint32_t seed) {
    std::string data(size, '\0');
    for (char& c : data) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return data;
}

inline std::string runsSample() {
    std::string data;
    data += std::string(70000, '\0');
    data += std::string(5000, ' ');  // the window's own starting byte
    data += std::string(3000, '\xff');
    data += "end";
    return data;
}

}  // namespace vext::test
