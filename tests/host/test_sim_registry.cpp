#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/registry.h"
#include "platform/sim/registry_store.h"
#include "platform/sim/simroot.h"
#include "tests/host/sim_root_fixture.h"

namespace vext {
namespace {

using platform::RegKey;
using platform::RegRoot;
using sim::RegistryTree;
using sim::SimRegistry;

class SimRegistryTest : public test::SimRootTest {};

TEST_F(SimRegistryTest, CreateMakesParentsAndOpenFindsThem) {
    EXPECT_FALSE(RegKey::open(RegRoot::LocalMachine, "Software\\A"));
    ASSERT_TRUE(RegKey::create(RegRoot::LocalMachine, "Software\\A\\B\\C"));
    EXPECT_TRUE(RegKey::open(RegRoot::LocalMachine, "Software\\A"));
    EXPECT_TRUE(RegKey::open(RegRoot::LocalMachine, "software\\a\\b\\c"));  // names ignore case
    EXPECT_FALSE(RegKey::open(RegRoot::ClassesRoot, "Software\\A"));        // roots are apart
}

TEST_F(SimRegistryTest, QueryFailsWhenTheDataDoesNotFit) {
    RegKey key = RegKey::create(RegRoot::ClassesRoot, "CLSID\\X");
    ASSERT_TRUE(key.setString("V", "hello", 6));
    char buf[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    uint32_t size = 5;
    EXPECT_FALSE(key.query("V", buf, &size));
    EXPECT_EQ(buf[0], 'x');
    size = 6;
    uint32_t type = 0;
    ASSERT_TRUE(key.query("v", buf, &size, &type));
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_STREQ(buf, "hello");
    EXPECT_FALSE(key.query("missing", buf, &size));
}

TEST_F(SimRegistryTest, ValuesKeepTypesAndExactBytes) {
    RegKey key = RegKey::create(RegRoot::LocalMachine, "Software\\T");
    const char padded[8] = {'4', '2', 0, 0, 0, 0, 0, 0};
    const char odd[4] = {'a', 0, 'b', 0};
    ASSERT_TRUE(key.setString("Padded", padded, sizeof padded));
    ASSERT_TRUE(key.setString("Odd", odd, sizeof odd));
    ASSERT_TRUE(key.setString("Quote", "say \"hi\" \\ bye", 15));
    ASSERT_TRUE(key.setDword("Number", 0xDEADBEEF));
    ASSERT_TRUE(key.setString("Empty", "", 0));
    ASSERT_TRUE(key.setString("", "default", 8));

    // A new open reads the file afresh: what comes back went through the text form.
    RegKey again = RegKey::open(RegRoot::LocalMachine, "Software\\T");
    char buf[32];
    uint32_t size = sizeof buf;
    ASSERT_TRUE(again.query("Padded", buf, &size));
    EXPECT_EQ(std::string(buf, size), std::string(padded, sizeof padded));
    size = sizeof buf;
    ASSERT_TRUE(again.query("Odd", buf, &size));
    EXPECT_EQ(std::string(buf, size), std::string(odd, sizeof odd));
    size = sizeof buf;
    ASSERT_TRUE(again.query("Quote", buf, &size));
    EXPECT_STREQ(buf, "say \"hi\" \\ bye");
    uint32_t type = 0;
    size = sizeof buf;
    ASSERT_TRUE(again.query("Number", buf, &size, &type));
    EXPECT_EQ(type, platform::kRegDword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(static_cast<uint8_t>(buf[0]), 0xEF);
    size = sizeof buf;
    ASSERT_TRUE(again.query("Empty", buf, &size));
    EXPECT_EQ(size, 0u);
    size = sizeof buf;
    ASSERT_TRUE(again.query(nullptr, buf, &size));
    EXPECT_STREQ(buf, "default");

    std::string text;
    ASSERT_TRUE(sim::readWholeFile(SimRegistry::filePath(), &text));
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\T]"), std::string::npos);
    EXPECT_NE(text.find("\"Padded\"=str(8):\"42\""), std::string::npos);
    EXPECT_NE(text.find("\"Number\"=dword:deadbeef"), std::string::npos);
    EXPECT_NE(text.find("\"Odd\"=hex(1):61,00,62,00"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\""), std::string::npos);
}

TEST(RegistryText, ParseErrorsNameTheLine) {
    struct Case {
        const char* text;
        const char* line;
    } cases[] = {
        {"REGEDIT4\n\"a\"=\"b\"\n", "line 2"},
        {"[HKEY_LOCAL_MACHINE\\X]\n\"a\"=str(1):\"abc\"\n", "line 2"},
        {"[HKEY_LOCAL_MACHINE\\X]\n\"a\"=dword:123456789\n", "line 2"},
        {"[HKEY_LOCAL_MACHINE\\X]\n\n\"a\"=hex(1):zz\n", "line 3"},
        {"[HKEY_LOCAL_MACHINE\\X\n", "line 1"},
        {"[HKEY_LOCAL_MACHINE\\X]\n\"a\"\"b\"\n", "line 2"},
        {"[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"unterminated\n", "line 2"},
    };
    for (const Case& c : cases) {
        RegistryTree tree;
        std::string error;
        EXPECT_FALSE(tree.parse(c.text, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
    }
}

TEST_F(SimRegistryTest, AHandEditedFileIsReadAndABrokenOneIsNeverOverwritten) {
    {
        std::ofstream out(SimRegistry::filePath());
        out << "REGEDIT4\r\n\r\n; edited by hand\r\n[HKEY_LOCAL_MACHINE\\Software\\E]\r\n"
               "\"V\"=\"7\"\r\n";
    }
    RegKey key = RegKey::open(RegRoot::LocalMachine, "Software\\E");
    ASSERT_TRUE(key);
    char buf[8];
    uint32_t size = sizeof buf;
    ASSERT_TRUE(key.query("V", buf, &size));
    EXPECT_STREQ(buf, "7");

    const std::string broken = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\E]\n\"V\"=what\n";
    {
        std::ofstream out(SimRegistry::filePath());
        out << broken;
    }
    EXPECT_FALSE(RegKey::create(RegRoot::LocalMachine, "Software\\F"));
    std::string text;
    ASSERT_TRUE(sim::readWholeFile(SimRegistry::filePath(), &text));
    EXPECT_EQ(text, broken);
}

TEST_F(SimRegistryTest, DeletingAKeyTakesItsSubkeysOnly) {
    SimRegistry::update([](RegistryTree& tree) {
        tree.create("HKEY_LOCAL_MACHINE\\S\\A\\B");
        tree.create("HKEY_LOCAL_MACHINE\\S\\AB");
        EXPECT_TRUE(tree.deleteKey("HKEY_LOCAL_MACHINE\\s\\a"));
        EXPECT_FALSE(tree.deleteKey("HKEY_LOCAL_MACHINE\\S\\A"));
        return true;
    });
    EXPECT_FALSE(RegKey::open(RegRoot::LocalMachine, "S\\A\\B"));
    EXPECT_TRUE(RegKey::open(RegRoot::LocalMachine, "S\\AB"));
}

TEST_F(SimRegistryTest, ConcurrentWritersFromManyProcessesLoseNothing) {
    constexpr int kProcesses = 4;
    constexpr int kWrites = 25;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                std::string path = "Software\\P" + std::to_string(p);
                RegKey key = RegKey::create(RegRoot::LocalMachine, path.c_str());
                ok =
                    ok && key.setDword(("V" + std::to_string(i)).c_str(), static_cast<uint32_t>(i));
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (int p = 0; p < kProcesses; ++p) {
        int status = 0;
        wait(&status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SimRegistry::read([&](const RegistryTree& tree) {
        for (int p = 0; p < kProcesses; ++p) {
            const auto* node = tree.find("HKEY_LOCAL_MACHINE\\Software\\P" + std::to_string(p));
            EXPECT_EQ(node != nullptr ? node->values.size() : 0u, static_cast<size_t>(kWrites));
        }
        return 0;
    });
}

}  // namespace
}  // namespace vext
