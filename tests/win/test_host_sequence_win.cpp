// The whole host sequence on real Win32: vextlink.dll loaded by file name, its 16 exports bound by
// their decorated names, driving a memory window at a fixed address below 4 GB where a host would
// have mapped the board. No encoder answers there, so every bus transaction ends with code 2.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/host_records.h"
#include "driver/settings.h"
#include "tests/win/wintest.h"

namespace {

using vext::BoardInfo;
using vext::TVOutStatus;
using vext::VideoTimingInfo;

constexpr uint32_t kWindowAddress = 0x31000000u;
const char* const kRoot = "Software\\3Vav Interactive\\Dudezi2\\TVOut";

struct Exports {
    int32_t(__stdcall* InitMapBoard)(BoardInfo*);
    int32_t(__stdcall* InitVideoTiming)(VideoTimingInfo*);
    int32_t(__stdcall* InitSetVideo)(BoardInfo*);
    int32_t(__stdcall* RestoreVideo)(BoardInfo*);
    int32_t(__stdcall* Control)(uint32_t);
    int32_t(__stdcall* GetStatus)();
    int32_t(__stdcall* Set)();
    int32_t(__stdcall* GetTiming)(uint32_t*);
    int32_t(__stdcall* SetTiming)(const uint32_t*);
    uint32_t(__stdcall* Get)(uint32_t, uint32_t, void*);
    uint32_t(__stdcall* GetMMIO)(uint32_t);
    uint32_t(__stdcall* SetMMIO)(uint32_t, uint32_t);
    int32_t(__stdcall* GetTVOutStatus)(TVOutStatus*);
    int32_t(__stdcall* SetTVOutStatus)(TVOutStatus*);
    uint32_t(__stdcall* GetDac)(uint32_t, uint32_t, uint8_t*);
    uint32_t(__stdcall* SetDac)(uint32_t, uint32_t, uint32_t);
};

template <typename F>
bool bind(HMODULE m, const char* decorated, F* slot) {
    *slot = bindExport<F>(reinterpret_cast<void*>(GetProcAddress(m, decorated)));
    EXPECT_TRUE(*slot != nullptr);
    if (*slot == nullptr) {
        std::printf("  missing export %s\n", decorated);
    }
    return *slot != nullptr;
}

bool bindAll(HMODULE m, Exports* e) {
    bool ok = true;
    ok &= bind(m, "_duvuzInitMapBoard@4", &e->InitMapBoard);
    ok &= bind(m, "_duvuzInitVideoTiming@4", &e->InitVideoTiming);
    ok &= bind(m, "_duvuzInitSetVideo@4", &e->InitSetVideo);
    ok &= bind(m, "_duvuzRestoreVideo@4", &e->RestoreVideo);
    ok &= bind(m, "_duvuzControl@4", &e->Control);
    ok &= bind(m, "_duvuzGetStatus@0", &e->GetStatus);
    ok &= bind(m, "_duvuzSet@0", &e->Set);
    ok &= bind(m, "_duvuzGetTiming@4", &e->GetTiming);
    ok &= bind(m, "_duvuzSetTiming@4", &e->SetTiming);
    ok &= bind(m, "_duvuzGet@12", &e->Get);
    ok &= bind(m, "_duvuzGetMMIO@4", &e->GetMMIO);
    ok &= bind(m, "_duvuzSetMMIO@8", &e->SetMMIO);
    ok &= bind(m, "_duvuzGetTVOutStatus@4", &e->GetTVOutStatus);
    ok &= bind(m, "_duvuzSetTVOutStatus@4", &e->SetTVOutStatus);
    ok &= bind(m, "_vdoGetDac@12", &e->GetDac);
    ok &= bind(m, "_vdoSetDac@12", &e->SetDac);
    return ok;
}

// A memory window where a host would have mapped the board's registers.
struct Window {
    void* base = VirtualAlloc(reinterpret_cast<void*>(static_cast<uintptr_t>(kWindowAddress)),
                              0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ~Window() {
        if (base != nullptr) {
            VirtualFree(base, 0, MEM_RELEASE);
        }
    }
    volatile uint32_t& reg(uint32_t offset) {
        return *reinterpret_cast<volatile uint32_t*>(static_cast<char*>(base) + offset);
    }
};

// A fresh current directory for the trace file, and a clean TV-out key, for one test.
struct Surroundings {
    Surroundings() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetCurrentDirectoryA(MAX_PATH, previous);
        std::snprintf(dir, sizeof dir, "%svext-host-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(dir, nullptr);
        SetCurrentDirectoryA(dir);
        SetEnvironmentVariableA("GDBG_LEVEL", "80");
    }
    ~Surroundings() {
        SetEnvironmentVariableA("GDBG_LEVEL", nullptr);
        SetCurrentDirectoryA(previous);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot);
    }
    char previous[MAX_PATH];
    char dir[MAX_PATH];
};

std::string readBytes(const std::string& path) {
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return bytes;
    }
    char buf[1024];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes.append(buf, n);
    }
    std::fclose(f);
    return bytes;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace

TEST(Win32HostSequence, LoadBindAndDriveTheWholeSequenceOnAMemoryWindow) {
    Surroundings around;
    Window window;
    ASSERT_TRUE(window.base != nullptr);
    HMODULE dll = LoadLibraryA(VEXTLINK_DLL);
    ASSERT_TRUE(dll != nullptr);
    Exports x{};
    ASSERT_TRUE(bindAll(dll, &x));

    // TV output on for 640x480, as the panel stores it.
    TVOutStatus settings{};
    settings.resolution = 7;
    x.GetTVOutStatus(&settings);
    settings.enable = 1;
    x.SetTVOutStatus(&settings);

    BoardInfo board{};
    board.Version = 0x00010000;
    board.HWBaseAddr = kWindowAddress;
    board.VideoTiming.ZizarResolution = 7;
    board.VideoTiming.ClkFreq16bpp = 20.14f;
    board.VideoTiming.ClkFreq24bpp = 24.671f;
    window.reg(0x244) = 0x00200000u;  // cleared by the mode set after programming

    EXPECT_EQ(x.InitMapBoard(&board), 1);
    VideoTimingInfo t = board.VideoTiming;
    EXPECT_EQ(x.InitVideoTiming(&t), 1);
    EXPECT_EQ(t.HSyncOff, 686u);
    EXPECT_EQ(t.VSyncOff, 523u);
    EXPECT_TRUE(t.ClkFreq16bpp == 24.671f);

    EXPECT_EQ(x.InitSetVideo(&board), 1);
    EXPECT_EQ(window.reg(0x244) & 0x00200000u, 0u);
    EXPECT_EQ(window.reg(0x210) & 1u, 1u);  // TV output on beside the monitor
    uint32_t words[2] = {0xAA, 0xAA};
    EXPECT_EQ(x.Get(2, 8, words), 8u);
    EXPECT_EQ(words[1], kWindowAddress);

    EXPECT_EQ(x.Control(2), 1);
    EXPECT_EQ(window.reg(0x210) & 1u, 0u);
    EXPECT_EQ(x.Control(1), 1);
    EXPECT_EQ(window.reg(0x210) & 1u, 1u);
    EXPECT_EQ(x.Control(3), 0);
    EXPECT_EQ(x.GetStatus(), 0);

    uint32_t timing[6] = {};
    EXPECT_EQ(x.GetTiming(timing), 0);
    EXPECT_EQ(timing[1], 686u);
    EXPECT_EQ(x.SetTiming(timing), 0);
    EXPECT_EQ(window.reg(0x220), (686u << 16) | 96u);
    EXPECT_EQ(x.GetMMIO(0x10224), (523u << 16) | 2u);
    EXPECT_EQ(x.SetMMIO(0x20A, 0x1234), 0u);
    EXPECT_EQ(window.reg(0x208), 0x1234u);

    // No encoder on this window: the device address is never acknowledged.
    EXPECT_EQ(x.SetDac(0xEC, 14, 9) & 0xFFFFu, 2u);
    uint8_t value = 0x5A;
    EXPECT_EQ(x.GetDac(0xEC, 9, &value) & 0xFFFFu, 2u);
    EXPECT_EQ(value, 0x5A);

    EXPECT_EQ(x.Set(), 0);
    EXPECT_EQ(x.RestoreVideo(&board), 1);
    EXPECT_EQ(x.RestoreVideo(&board), 1);
    EXPECT_EQ(x.Get(1, 4, words), 4u);  // the view still serves
    EXPECT_EQ(words[0], 1u);

    FreeLibrary(dll);  // closes the trace file

    std::string trace = readBytes(std::string(around.dir) + "\\oemdll.txt");
    EXPECT_EQ(trace.rfind("duvuzInitMapBoard: \r\n\tVersion:      1.0\r\n", 0), 0u);
    EXPECT_EQ(count(trace, "duvuzInitSetVideo: \r\n"), 1u);
    // Three calls, and the switch-on that ends each programming: the mode set's and duvuzSet's.
    EXPECT_EQ(count(trace, "duvuzControlMode: \r\n\r\n"), 5u);
    EXPECT_EQ(count(trace, "duvuzRestoreVideo: \r\n"), 2u);
    // Map, timing, mode set and the two restores.
    EXPECT_EQ(count(trace, "VideoTimingInfo:\r\n"), 5u);
    EXPECT_EQ(count(trace, "\n"), count(trace, "\r\n"));
    DeleteFileA((std::string(around.dir) + "\\oemdll.txt").c_str());
    RemoveDirectoryA(around.dir);
}
