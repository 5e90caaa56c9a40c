// Our SZDD expander against files that mscompress made, and against damaged input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/szdd.h"
#include "tests/host/mscompress.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {
namespace {

using sim::expandSzdd;
using sim::SzddStatus;

SzddStatus expand(const std::string& data, std::string* out) {
    std::vector<uint8_t> bytes;
    SzddStatus status =
        expandSzdd(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &bytes);
    out->assign(bytes.begin(), bytes.end());
    return status;
}

class SzddTest : public SimRootTest {};

TEST_F(SzddTest, ExpandsWhatMscompressMadeByteForByte) {
    const struct {
        const char* name;
        std::string data;
    } cases[] = {
        {"text.txt", textSample()},
        {"binary.dll", binarySample(50000, 7)},
        {"every-byte.bin",
         [] {
             std::string s;
             for (int i = 0; i < 4096 + 300; ++i) {
                 s += static_cast<char>(i * 7);
             }
             return s;
         }()},
        {"runs.bin", runsSample()},
        {"empty.txt", ""},
        {"sixteen.txt", "0123456789abcdef"},
        {"window.bin", binarySample(4096, 3) + binarySample(4096, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string compressed = mscompress(root(), c.name, c.data);
        ASSERT_GE(compressed.size(), sim::kSzddHeaderSize);
        std::string out;
        ASSERT_EQ(expand(compressed, &out), SzddStatus::Expanded);
        EXPECT_TRUE(out == c.data) << "expanded " << out.size() << " of " << c.data.size();
    }
}

TEST_F(SzddTest, TruncatedInputFailsClearly) {
    const std::string original = textSample() + binarySample(3000, 11);
    const std::string compressed = mscompress(root(), "file.bin", original);
    std::string out;
    for (size_t size = 0; size < compressed.size(); ++size) {
        SCOPED_TRACE(size);
        // Copied, so that a read past the end is one that the sanitizer sees.
        std::string cut = compressed.substr(0, size);
        SzddStatus status = expand(cut, &out);
        if (size < 4) {
            EXPECT_EQ(status, SzddStatus::NotCompressed);  // too short to tell: a plain file
        } else {
            EXPECT_EQ(status, SzddStatus::Corrupt);
        }
    }
    ASSERT_EQ(expand(compressed, &out), SzddStatus::Expanded);
    EXPECT_TRUE(out == original);
}

TEST(Szdd, DamagedHeadersAndPlainFiles) {
    const std::string magic = "SZDD\x88\xf0\x27\x33";
    const struct {
        const char* what;
        std::string data;
        SzddStatus status;
        std::string out;
    } cases[] = {
        {"plain file", "MZ plain bytes", SzddStatus::NotCompressed, ""},
        {"empty file", "", SzddStatus::NotCompressed, ""},
        {"magic alone", magic, SzddStatus::Corrupt, ""},
        {"other method", magic + std::string("B\0\1\0\0\0\xff", 7) + "a", SzddStatus::Corrupt, ""},
        {"length beyond the data", magic + std::string("A\0\xff\xff\xff\xff\xff", 7) + "abcdefgh",
         SzddStatus::Corrupt, ""},
        {"one literal", magic + std::string("A\0\1\0\0\0\x01", 7) + "x", SzddStatus::Expanded, "x"},
        // A match before anything was written reads the window's starting spaces.
        {"match into the fresh window", magic + std::string("A\0\4\0\0\0\x00\x00\x01", 9),
         SzddStatus::Expanded, "    "},
        {"bytes after the length", magic + std::string("A\0\1\0\0\0\xff", 7) + "xyz",
         SzddStatus::Expanded, "x"},
        {"match cut off mid-pair", magic + std::string("A\0\5\0\0\0\x00\x00", 8),
         SzddStatus::Corrupt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out;
        EXPECT_EQ(expand(c.data, &out), c.status);
        if (c.status == SzddStatus::Expanded) {
            EXPECT_EQ(out, c.out);
        }
    }
}

TEST_F(SzddTest, FlippedBytesNeverReadOutside) {
    const std::string compressed = mscompress(root(), "file.bin", textSample());
    std::string out;
    for (size_t i = sim::kSzddHeaderSize; i < compressed.size(); i += 7) {
        std::string damaged = compressed;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
        SzddStatus status = expand(damaged, &out);
        EXPECT_NE(status, SzddStatus::NotCompressed);
        if (status == SzddStatus::Expanded) {
            EXPECT_EQ(out.size(), textSample().size());
        }
    }
}

}  // namespace
}  // namespace vext::test
