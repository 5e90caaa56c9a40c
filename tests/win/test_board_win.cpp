// The shared section and board register access on the real Win32 platform: the section across
// two real processes, and register access through the DLL's exports on a memory window at a
// fixed address below 4 GB.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "driver/shared_block.h"
#include "tests/win/wintest.h"

namespace {

using vext::TVOutSharedBlock;

constexpr const char* kChildSwitch = "--open-section-child";
constexpr uint32_t kWindowAddress = 0x30000000u;

// The second process: opens the section by name, checks what the first one wrote, and answers.
struct SectionChild {
    SectionChild() {
        if (std::strstr(GetCommandLineA(), kChildSwitch) == nullptr) {
            return;
        }
        UINT code = 1;
        if (vext::mapSharedBlock() == 1) {
            TVOutSharedBlock* b = vext::sharedBlock();
            if (b->regBase == 0x12345678u && b->status.brightness == 208) {
                b->otherRegBase = 0x0BADF00Du;
                code = 0;
            }
        }
        ExitProcess(code);
    }
} gSectionChild;

DWORD runChild() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string cmd = std::string("\"") + path + "\" " + kChildSwitch;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return 99;
    }
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 98;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// The DLL under test, bound by its decorated export names.
struct Dll {
    HMODULE module = LoadLibraryA(VEXTLINK_DLL);
    ~Dll() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    template <typename F>
    F bind(const char* name) const {
        return bindExport<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

// A memory window at a fixed address below 4 GB, where a host would have mapped the board.
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

}  // namespace

TEST(Win32Section, CreatedInOneProcessOpenedByNameInAnother) {
    vext::createSharedBlock();
    TVOutSharedBlock* b = vext::sharedBlock();
    ASSERT_TRUE(b != nullptr);
    b->regBase = 0x12345678u;
    b->status.brightness = 208;
    EXPECT_EQ(runChild(), 0u);
    EXPECT_EQ(b->otherRegBase, 0x0BADF00Du);
    // The view outlives the handle.
    EXPECT_TRUE(vext::closeSharedBlockHandle());
    EXPECT_EQ(b->regBase, 0x12345678u);
    b->regBase = 0;
    b->otherRegBase = 0;
}

TEST(Win32Registers, MmioExportsOnMemoryWindow) {
    Window window;
    ASSERT_TRUE(window.base != nullptr);
    vext::createSharedBlock();
    ASSERT_TRUE(vext::sharedBlock() != nullptr);
    vext::sharedBlock()->regBase = kWindowAddress;

    Dll dll;
    ASSERT_TRUE(dll.module != nullptr);
    auto getMmio = dll.bind<uint32_t(VEXT_STDCALL*)(uint32_t)>("_duvuzGetMMIO@4");
    auto setMmio = dll.bind<uint32_t(VEXT_STDCALL*)(uint32_t, uint32_t)>("_duvuzSetMMIO@8");
    ASSERT_TRUE(getMmio != nullptr);
    ASSERT_TRUE(setMmio != nullptr);

    window.reg(0x214) = 0x00400000u;
    EXPECT_EQ(getMmio(0x10214), 0x00400000u);
    EXPECT_EQ(setMmio(0x213, 0xA5A5A5A5u), 0u);
    EXPECT_EQ(window.reg(0x210), 0xA5A5A5A5u);
    EXPECT_EQ(window.reg(0x214), 0x00400000u);

    vext::sharedBlock()->regBase = 0;
    EXPECT_EQ(getMmio(0x214), 0u);
}

TEST(Win32Bus, WithoutEncoderEveryTransactionEndsWithCodeTwo) {
    Window window;
    ASSERT_TRUE(window.base != nullptr);
    vext::createSharedBlock();
    ASSERT_TRUE(vext::sharedBlock() != nullptr);
    vext::sharedBlock()->regBase = kWindowAddress;
    window.reg(0x244) = 0x12340018u;

    Dll dll;
    auto setDac = dll.bind<uint32_t(VEXT_STDCALL*)(uint32_t, uint32_t, uint32_t)>("_vdoSetDac@12");
    auto getDac = dll.bind<uint32_t(VEXT_STDCALL*)(uint32_t, uint32_t, uint8_t*)>("_vdoGetDac@12");
    ASSERT_TRUE(setDac != nullptr);
    ASSERT_TRUE(getDac != nullptr);

    // Plain memory keeps the released data level high: nothing ever acknowledges.
    EXPECT_EQ(setDac(0xEC, 14, 9), 0x12340002u);
    uint8_t byte = 0x5A;
    EXPECT_EQ(getDac(0xEC, 16, &byte), 0x12340002u);
    EXPECT_EQ(byte, 0x5A);
    // The bus is left at rest.
    EXPECT_EQ(window.reg(0x244) & 0x0800001Cu, 0x8u);
    EXPECT_EQ(window.reg(0x248) & 0x1E00u, 0xE00u);
    vext::sharedBlock()->regBase = 0;
}
