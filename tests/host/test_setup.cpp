// The setup program on the simulation: a medium on drive D:, a simulated Windows NT machine with
// C:\WINNT, and a simulated user answering from the answer script.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/machine.h"
#include "platform/sim/registry_store.h"
#include "platform/sim/ui_script.h"
#include "setup/copy_table.h"
#include "setup/setup_run.h"
#include "setup/texts.h"
#include "tests/host/mscompress.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {
namespace {

namespace fs = std::filesystem;
using setup::kCopyTable;

// Each file's own contents; riched20 lies on the medium uncompressed.
std::string contentsOf(const setup::CopyRecord& record) {
    std::string name = record.targetName;
    if (name == "vextlink.dll") {
        return binarySample(30000, 1);
    }
    if (name == "vextpage.hlp") {
        return textSample();
    }
    if (name == "viziza.sys") {
        return runsSample();
    }
    return "MZ" + name + binarySample(2000 + 100 * (&record - kCopyTable), 5);
}

class SetupTest : public SimRootTest {
  protected:
    void SetUp() override {
        SimRootTest::SetUp();
        medium_ = root() + "/drive_d/SETUP";
        fs::create_directories(medium_);
        for (const setup::CopyRecord& record : kCopyTable) {
            std::string data = contentsOf(record);
            if (std::string(record.sourceName) != "riched20.dl_") {
                data = mscompress(medium_, record.targetName, data);
            }
            writeFile(medium_ + "/" + record.sourceName, data);
        }
        ASSERT_TRUE(sim::setMachineFact("program", "D:\\SETUP\\VEXTSETUP.EXE"));
    }

    std::string mediumFile(const char* name) const { return medium_ + "/" + name; }

    // The installed file, or "<missing>".
    static std::string installed(const setup::CopyRecord& record) {
        std::string path = sim::hostPath(sim::machineWindowsDirectory() + "\\" +
                                         setup::kDirectories[record.directory] + record.targetName);
        return fs::exists(path) ? readFile(path) : "<missing>";
    }

    // Every file under the Windows directory, relative to it.
    static std::vector<std::string> windowsFiles() {
        std::vector<std::string> files;
        std::string base = sim::hostPath(sim::machineWindowsDirectory());
        if (!fs::exists(base)) {
            return files;
        }
        for (const auto& entry : fs::recursive_directory_iterator(base)) {
            if (entry.is_regular_file()) {
                files.push_back(fs::relative(entry.path(), base).string());
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    std::string screenLog() const { return readFile(root() + "/screen.log"); }
    std::string registryText() const { return readFile(root() + "/registry.reg"); }

    int run(const std::string& answers) {
        sim::addAnswers(answers);
        return setup::runSetup();
    }

    static size_t count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }

  private:
    std::string medium_;
};

// The registry after an installation: the entries of the setup and the services key that the
// system has, nothing else.
const char* const kRegistryAfterSetup = R"(REGEDIT4

[HKEY_CLASSES_ROOT]

[HKEY_CLASSES_ROOT\CLSID]

[HKEY_CLASSES_ROOT\CLSID\{00BD7141-4A41-11d1-89EA-0020AFC43773}]
@="3Vav Dudezi2 Property Sheet"

[HKEY_CLASSES_ROOT\CLSID\{00BD7141-4A41-11d1-89EA-0020AFC43773}\InProcServer32]
@="vextpage.dll"
"ThreadingModel"="Apartment"

[HKEY_LOCAL_MACHINE]

[HKEY_LOCAL_MACHINE\SOFTWARE]

[HKEY_LOCAL_MACHINE\SOFTWARE\3Vav Interactive]

[HKEY_LOCAL_MACHINE\SOFTWARE\3Vav Interactive\Dudezi2]

[HKEY_LOCAL_MACHINE\SOFTWARE\3Vav Interactive\Dudezi2\D3D]

[HKEY_LOCAL_MACHINE\SOFTWARE\3Vav Interactive\Dudezi2\Zizar]

[HKEY_LOCAL_MACHINE\SOFTWARE\3Vav Interactive\RUVurez]
"EnableRUVurez"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Display]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Display\shellex]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Display\shellex\PropertySheetHandlers]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Display\shellex\PropertySheetHandlers\Dudezi2]
@="{00BD7141-4A41-11d1-89EA-0020AFC43773}"

[HKEY_LOCAL_MACHINE\SYSTEM]

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet]

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services]

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\dudiz]
"Type"=dword:00000001
"Start"=dword:00000002
"Group"="Extended base"
"ErrorControl"=dword:00000001

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\RUVurez]
"Type"=dword:00000001
"Start"=dword:00000002
"Group"="Extended base"
"ErrorControl"=dword:00000001

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\viziza]
"Type"=dword:00000001
"Start"=dword:00000002
"Group"="Extended base"
"ErrorControl"=dword:00000001
)";

// The restart question as the screen log shows it, line feeds written as \n.
const char* const kRestartQuestionShown =
    "\"ｾｯﾄｱｯﾌﾟを完了するには、再起動が必要です。\\n今すぐ再起動しますか?\"";

// Type and byte count of a value as the registry returns them.
std::pair<uint32_t, uint32_t> typeAndSize(platform::RegRoot root, const char* key,
                                          const char* name) {
    platform::RegKey k = platform::RegKey::open(root, key);
    char buf[128];
    uint32_t size = sizeof buf;
    uint32_t type = 0;
    if (!k.query(name, buf, &size, &type)) {
        return {0, 0};
    }
    return {type, size};
}

TEST_F(SetupTest, FullRunExpandsEveryFileAndRegistersThem) {
    EXPECT_EQ(run("ok no"), 0);

    for (const setup::CopyRecord& record : kCopyTable) {
        SCOPED_TRACE(record.targetName);
        EXPECT_TRUE(installed(record) == contentsOf(record));
    }
    EXPECT_EQ(windowsFiles().size(), 12u);  // no temporary file left behind

    // The paths as the dialog shows them, lower-cased.
    std::string log = screenLog();
    const std::string first =
        "control 1006 shows d:\\setup\\vextpage.hl_\n"
        "dialog VEXTSETUP: control 1007 shows c:\\winnt\\help\\vextpage.hlp\n";
    const std::string last =
        "control 1006 shows d:\\setup\\ruvurez.sy_\n"
        "dialog VEXTSETUP: control 1007 shows c:\\winnt\\system32\\drivers\\ruvurez.sys\n";
    EXPECT_NE(log.find(first), std::string::npos) << log;
    EXPECT_NE(log.find(last), std::string::npos) << log;
    EXPECT_LT(log.find(first), log.find(last));
    EXPECT_EQ(count(log, "control 1006 shows"), 12u);

    EXPECT_EQ(registryText(), kRegistryAfterSetup);
    using platform::RegRoot;
    const struct {
        RegRoot root;
        const char* key;
        const char* name;
        uint32_t type;
        uint32_t bytes;
    } values[] = {
        {RegRoot::ClassesRoot, "CLSID\\{00BD7141-4A41-11d1-89EA-0020AFC43773}", nullptr, 1, 28},
        {RegRoot::ClassesRoot, "CLSID\\{00BD7141-4A41-11d1-89EA-0020AFC43773}\\InProcServer32",
         nullptr, 1, 13},
        {RegRoot::ClassesRoot, "CLSID\\{00BD7141-4A41-11d1-89EA-0020AFC43773}\\InProcServer32",
         "ThreadingModel", 1, 10},
        {RegRoot::LocalMachine,
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Display\\shellex\\"
         "PropertySheetHandlers\\Dudezi2",
         nullptr, 1, 39},
        {RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive\\RUVurez", "EnableRUVurez", 4, 4},
        {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\RUVurez", "Group", 1, 14},
        {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\dudiz", "Start", 4, 4},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(std::string(v.key) + " " + (v.name ? v.name : "@"));
        EXPECT_EQ(typeAndSize(v.root, v.key, v.name), std::make_pair(v.type, v.bytes));
    }

    // The restart question, answered No: no restart, and no failure message before it.
    EXPECT_NE(log.find(kRestartQuestionShown), std::string::npos);
    EXPECT_NE(log.find("message box: pressed No"), std::string::npos);
    EXPECT_EQ(log.find("warning"), std::string::npos);
    EXPECT_FALSE(fs::exists(root() + "/restart.log"));
    EXPECT_NE(log.find("dialog VEXTSETUP: closed"), std::string::npos);
}

// Where each file of the medium must go, written out rather than taken from the program's own
// table, so that a wrong name, directory or order there shows.
TEST_F(SetupTest, EveryFileGoesFromItsSourceNameToItsTargetPath) {
    const struct {
        const char* source;
        const char* target;  // under the Windows directory
    } expected[] = {
        {"vextpage.hl_", "help\\vextpage.hlp"},
        {"vextpagj.hl_", "help\\vextpagj.hlp"},
        {"rerez2u.dl_", "system32\\rerez2u.dll"},
        {"vuvad3o.dl_", "system32\\vuvad3o.dll"},
        {"vextlink.dl_", "system32\\vextlink.dll"},
        {"vextpage.dl_", "system32\\vextpage.dll"},
        {"vexttune.dl_", "system32\\vexttune.dll"},
        {"vextaux.dl_", "system32\\vextaux.dll"},
        {"riched20.dl_", "system32\\riched20.dll"},
        {"viziza.sy_", "system32\\drivers\\viziza.sys"},
        {"dudiz.sy_", "system32\\drivers\\dudiz.sys"},
        {"ruvurez.sy_", "system32\\drivers\\ruvurez.sys"},
    };
    ASSERT_EQ(run("ok no"), 0);

    std::string shown;
    for (const auto& e : expected) {
        shown += std::string("dialog VEXTSETUP: control 1006 shows d:\\setup\\") + e.source +
                 "\ndialog VEXTSETUP: control 1007 shows c:\\winnt\\" + e.target + "\n";
    }
    std::string log = screenLog();
    EXPECT_NE(log.find(shown), std::string::npos) << log;

    for (const auto& e : expected) {
        SCOPED_TRACE(e.target);
        const setup::CopyRecord* from = nullptr;
        for (const setup::CopyRecord& record : kCopyTable) {
            from = std::string(record.sourceName) == e.source ? &record : from;
        }
        ASSERT_NE(from, nullptr);
        std::string path = sim::hostPath(std::string("C:\\WINNT\\") + e.target);
        EXPECT_TRUE(readFile(path) == contentsOf(*from));
    }
    EXPECT_EQ(windowsFiles().size(), 12u);
}

TEST_F(SetupTest, SecondRunChangesNothing) {
    ASSERT_EQ(run("ok no"), 0);
    std::string registry = registryText();
    std::vector<std::string> files = windowsFiles();
    ASSERT_EQ(run("ok no"), 0);
    EXPECT_EQ(registryText(), registry);
    EXPECT_EQ(windowsFiles(), files);
    for (const setup::CopyRecord& record : kCopyTable) {
        EXPECT_TRUE(installed(record) == contentsOf(record)) << record.targetName;
    }
}

TEST_F(SetupTest, CancelTouchesNothing) {
    EXPECT_EQ(run("cancel"), 0);
    EXPECT_TRUE(windowsFiles().empty());
    std::string registry = registryText();
    EXPECT_EQ(registry.find("CLSID"), std::string::npos);
    EXPECT_EQ(registry.find("3Vav"), std::string::npos);
    EXPECT_EQ(registry.find("viziza"), std::string::npos);
    EXPECT_EQ(screenLog().find("message box"), std::string::npos);
    EXPECT_FALSE(fs::exists(root() + "/restart.log"));
}

TEST_F(SetupTest, NoAnswerLeavesLikeCancel) {
    EXPECT_EQ(run(""), 0);
    EXPECT_TRUE(windowsFiles().empty());
    EXPECT_NE(screenLog().find("pressed Cancel"), std::string::npos);
}

TEST_F(SetupTest, RefusesWindows95And98) {
    for (uint32_t version : {sim::kVersionWin95, sim::kVersionWin98, 0x10000004u}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(sim::setMachineFact("version", std::to_string(version)));
        std::remove((root() + "/screen.log").c_str());
        EXPECT_EQ(run("ok yes"), 0);
        std::string log = screenLog();
        EXPECT_NE(log.find("message box, warning, OK: \"" + sim::toUtf8(setup::kCaption) +
                           "\" \"このｾｯﾄｱｯﾌﾟはWindowsNT4.0用です。"),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("dialog"), std::string::npos);
        EXPECT_FALSE(fs::exists(root() + "/drive_c"));
        EXPECT_FALSE(fs::exists(root() + "/registry.reg"));
        sim::takeAnswer({"ok"});  // the answers the refusal left unused
        sim::takeAnswer({"yes"});
    }
}

TEST_F(SetupTest, MissingOrDamagedSourcesAreSkippedAndReportedOnce) {
    fs::remove(mediumFile("vextpage.hl_"));
    std::string tune = readFile(mediumFile("vexttune.dl_"));
    writeFile(mediumFile("vexttune.dl_"), tune.substr(0, tune.size() / 2));  // cut short
    std::string dudiz = readFile(mediumFile("dudiz.sy_"));
    dudiz[8] = 'B';  // a method the expander does not know
    writeFile(mediumFile("dudiz.sy_"), dudiz);
    // An earlier installation's panel, which a failed expansion must not damage.
    sim::prepareWindows();
    writeFile(sim::hostPath("C:\\WINNT\\system32\\vexttune.dll"), "earlier version");

    EXPECT_EQ(run("ok no"), 0);

    for (const setup::CopyRecord& record : kCopyTable) {
        std::string name = record.targetName;
        SCOPED_TRACE(name);
        if (name == "vextpage.hlp" || name == "dudiz.sys") {
            EXPECT_EQ(installed(record), "<missing>");
        } else if (name == "vexttune.dll") {
            EXPECT_EQ(installed(record), "earlier version");
        } else {
            EXPECT_TRUE(installed(record) == contentsOf(record));
        }
    }
    EXPECT_EQ(windowsFiles().size(), 10u);

    std::string log = screenLog();
    const std::string message =
        "message box (owned by the dialog), warning, OK: \"Vextaro ｾｯﾄｱｯﾌﾟ\" "
        "\"次のﾌｧｲﾙをｲﾝｽﾄｰﾙできませんでした。"
        "\\nhelp\\vextpage.hlp (vextpage.hl_: ｺﾋﾟｰ元がありません)"
        "\\nsystem32\\vexttune.dll (vexttune.dl_: ｺﾋﾟｰ元を展開できません)"
        "\\nsystem32\\drivers\\dudiz.sys (dudiz.sy_: ｺﾋﾟｰ元を展開できません)\"";
    EXPECT_NE(log.find(message), std::string::npos) << log;
    EXPECT_EQ(count(log, "warning"), 1u);
    // Then registration and the restart question, as after a full copy.
    ASSERT_NE(log.find(kRestartQuestionShown), std::string::npos);
    EXPECT_LT(log.find(message), log.find(kRestartQuestionShown));
    EXPECT_EQ(registryText(), kRegistryAfterSetup);
}

TEST_F(SetupTest, DirectoryInPlaceOfASourceFileIsMissing) {
    fs::remove(mediumFile("vextaux.dl_"));
    fs::create_directory(mediumFile("vextaux.dl_"));
    EXPECT_EQ(run("ok no"), 0);
    EXPECT_EQ(installed(kCopyTable[7]), "<missing>");
    EXPECT_NE(screenLog().find("\\nsystem32\\vextaux.dll (vextaux.dl_: ｺﾋﾟｰ元がありません)\""),
              std::string::npos)
        << screenLog();
    EXPECT_EQ(windowsFiles().size(), 11u);
}

TEST_F(SetupTest, UnwritableTargetIsReported) {
    sim::prepareWindows();
    std::string drivers = sim::hostPath("C:\\WINNT\\system32\\drivers");
    fs::remove_all(drivers);
    writeFile(drivers, "a file where the directory should be");

    EXPECT_EQ(run("ok no"), 0);

    std::string log = screenLog();
    EXPECT_EQ(count(log, "ｺﾋﾟｰ先に書き込めません"), 3u) << log;
    EXPECT_NE(log.find("\\nsystem32\\drivers\\viziza.sys (viziza.sy_: ｺﾋﾟｰ先に書き込めません)"),
              std::string::npos);
    EXPECT_TRUE(installed(kCopyTable[4]) == contentsOf(kCopyTable[4]));
}

TEST_F(SetupTest, RegistryThatCannotBeWrittenIsReported) {
    // A registry file that does not parse is never overwritten: every write fails.
    writeFile(root() + "/registry.reg", "not a registry\n");
    EXPECT_EQ(run("ok no"), 0);
    EXPECT_EQ(windowsFiles().size(), 12u);
    std::string log = screenLog();
    EXPECT_NE(
        log.find("warning, OK: \"Vextaro ｾｯﾄｱｯﾌﾟ\" \"ﾚｼﾞｽﾄﾘに書き込めない項目がありました。\""),
        std::string::npos)
        << log;
    EXPECT_NE(log.find(kRestartQuestionShown), std::string::npos);
    EXPECT_EQ(registryText(), "not a registry\n");
}

TEST_F(SetupTest, WindowsDirectoryThatDoesNotFitFailsEveryRecordCleanly) {
    // 126 characters and the backslash fill the 128-character buffer; one more does not fit.
    for (size_t length : {126u, 127u, 300u}) {
        SCOPED_TRACE(length);
        std::string windows = "C:\\";
        while (windows.size() < length) {
            windows += windows.size() % 60 == 59 ? '\\' : 'W';
        }
        windows.back() = 'W';
        ASSERT_EQ(windows.size(), length);
        ASSERT_TRUE(sim::setMachineFact("windows", windows));
        std::remove((root() + "/screen.log").c_str());

        EXPECT_EQ(run("ok no"), 0);

        std::string log = screenLog();
        if (length == 126) {
            EXPECT_EQ(windowsFiles().size(), 12u);
            EXPECT_EQ(log.find("warning"), std::string::npos);
        } else {
            EXPECT_TRUE(windowsFiles().empty());
            EXPECT_EQ(count(log, "ﾊﾟｽが長すぎます"), 12u);
            EXPECT_EQ(count(log, "warning"), 1u);
            // The dialog shows the bare names it could not place.
            EXPECT_NE(log.find("control 1007 shows vextpage.hlp\n"), std::string::npos);
        }
        EXPECT_NE(log.find("pressed No"), std::string::npos);
    }
}

TEST_F(SetupTest, ProgramDirectoryThatDoesNotFitFailsEveryRecordCleanly) {
    std::string program = "D:\\" + std::string(100, 'M') + "\\" + std::string(40, 'N') + "\\S.EXE";
    ASSERT_TRUE(sim::setMachineFact("program", program));
    EXPECT_EQ(run("ok no"), 0);
    EXPECT_TRUE(windowsFiles().empty());
    EXPECT_EQ(count(screenLog(), "ﾊﾟｽが長すぎます"), 12u);
}

TEST_F(SetupTest, YesRequestsTheRestartOnceAndOnlyRecordsIt) {
    EXPECT_EQ(run("ok yes"), 0);
    EXPECT_EQ(readFile(root() + "/restart.log"), "restart requested (EWX_REBOOT)\n");
    EXPECT_EQ(windowsFiles().size(), 12u);
}

TEST_F(SetupTest, RunsFromAMediumWhosePathHasCapitals) {
    // The program's own path as the system gives it; setup lower-cases it and still finds files.
    ASSERT_TRUE(sim::setMachineFact("program", "D:\\Setup\\VextSetup.Exe"));
    ASSERT_TRUE(sim::setMachineFact("windows", "C:\\WinNT"));
    EXPECT_EQ(run("ok no"), 0);
    EXPECT_EQ(windowsFiles().size(), 12u);
}

TEST_F(SetupTest, LowerCasingLeavesDoubleByteCharactersAlone) {
    const struct {
        const char* codepage;
        std::string path;
        std::string lowered;
    } cases[] = {
        {"none", "D:\\SETUP\\VEXTLINK.DL_", "d:\\setup\\vextlink.dl_"},
        {"none", "C:\\WinNT\\Help\\", "c:\\winnt\\help\\"},
        // "セ" is 83 5A in Shift-JIS: its second byte is no 'Z'.
        {"932", "D:\\\x83\x5A\\A.DL_", "d:\\\x83\x5A\\a.dl_"},
        {"932", "D:\\\xE0\x41Z", "d:\\\xE0\x41z"},
        {"932", "D:\\A\x83", "d:\\a\x83"},  // a lead byte at the end stays
        {"none", "D:\\\x83\x5A", "d:\\\x83z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(
            sim::setMachineFact("codepage", c.codepage == std::string("none") ? "" : "932"));
        std::string path = c.path;
        setup::lowerCasePath(path.data());
        EXPECT_EQ(path, c.lowered);
    }
}

}  // namespace
}  // namespace vext::test
