// vextdemo: the road of one event, played on the simulated board.
//
// It plays the host 3D graphics library: it loads the driver by its file name, binds the exports
// by name, and drives TV output from mapping the board to restoring the video. A second process
// plays the settings panel and changes brightness while the mode is up; the demo shows the
// encoder's own register values as the simulated encoder holds them at each step.
//
// The host binds the decorated Windows names ("_duvuzControl@4"). A shared object on Linux exports
// the plain C names, so on the simulation the demo binds "duvuzControl" and shows the decorated
// name beside it.
//
//   vextdemo [--quiet] [--out DIR] [--library FILE]
//   vextdemo --panel RES FIELD=N ...    (the panel's process, started by the demo itself)
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/host_records.h"
#include "driver/settings.h"
#include "platform/sim/board.h"
#include "platform/sim/simroot.h"

extern char** environ;

namespace {

using vext::BoardInfo;
using vext::TVOutStatus;
using vext::VideoTimingInfo;
namespace fs = std::filesystem;

// ---- the driver as the host binds it ----

struct Driver {
    int32_t (*InitMapBoard)(BoardInfo*);
    int32_t (*InitVideoTiming)(VideoTimingInfo*);
    int32_t (*InitSetVideo)(BoardInfo*);
    int32_t (*RestoreVideo)(BoardInfo*);
    int32_t (*Control)(uint32_t);
    int32_t (*GetStatus)();
    int32_t (*Set)();
    int32_t (*GetTiming)(uint32_t*);
    int32_t (*SetTiming)(const uint32_t*);
    uint32_t (*Get)(uint32_t, uint32_t, void*);
    uint32_t (*GetMMIO)(uint32_t);
    int32_t (*SetMMIO)(uint32_t, uint32_t);
    int32_t (*GetTVOutStatus)(TVOutStatus*);
    int32_t (*SetTVOutStatus)(TVOutStatus*);
    uint32_t (*GetDac)(uint32_t, uint32_t, uint8_t*);
    uint32_t (*SetDac)(uint32_t, uint32_t, uint32_t);
};

// "_duvuzControl@4" -> "duvuzControl": the symbol name of a shared object.
std::string plainName(const char* decorated) {
    std::string name = decorated + 1;
    return name.substr(0, name.find('@'));
}

template <typename F>
bool bind(void* module, const char* decorated, F* slot, std::string* error) {
    void* proc = dlsym(module, plainName(decorated).c_str());
    if (proc == nullptr) {
        *error = std::string("the driver has no export ") + decorated;
        return false;
    }
    std::memcpy(slot, &proc, sizeof *slot);
    return true;
}

// Loads the library by file name and binds the 16 exports; names the first that is missing.
bool loadDriver(const std::string& file, Driver* d, std::string* error) {
    void* m = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m == nullptr) {
        *error = dlerror();
        return false;
    }
    return bind(m, "_duvuzInitMapBoard@4", &d->InitMapBoard, error) &&
           bind(m, "_duvuzInitVideoTiming@4", &d->InitVideoTiming, error) &&
           bind(m, "_duvuzInitSetVideo@4", &d->InitSetVideo, error) &&
           bind(m, "_duvuzRestoreVideo@4", &d->RestoreVideo, error) &&
           bind(m, "_duvuzControl@4", &d->Control, error) &&
           bind(m, "_duvuzGetStatus@0", &d->GetStatus, error) &&
           bind(m, "_duvuzSet@0", &d->Set, error) &&
           bind(m, "_duvuzGetTiming@4", &d->GetTiming, error) &&
           bind(m, "_duvuzSetTiming@4", &d->SetTiming, error) &&
           bind(m, "_duvuzGet@12", &d->Get, error) &&
           bind(m, "_duvuzGetMMIO@4", &d->GetMMIO, error) &&
           bind(m, "_duvuzSetMMIO@8", &d->SetMMIO, error) &&
           bind(m, "_duvuzGetTVOutStatus@4", &d->GetTVOutStatus, error) &&
           bind(m, "_duvuzSetTVOutStatus@4", &d->SetTVOutStatus, error) &&
           bind(m, "_vdoGetDac@12", &d->GetDac, error) &&
           bind(m, "_vdoSetDac@12", &d->SetDac, error);
}

// ---- what a person sees ----

bool gQuiet = false;

__attribute__((format(printf, 1, 2))) void say(const char* format, ...) {
    if (gQuiet) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

int gStep = 0;

[[noreturn]] void fail(const std::string& what) {
    std::fflush(stdout);
    std::fprintf(stderr, "vextdemo: step %d failed: %s\n", gStep, what.c_str());
    std::exit(1);
}

void expect(bool ok, const std::string& what) {
    if (!ok) {
        fail(what);
    }
}

template <typename T>
void expectEq(T got, T want, const char* what) {
    if (got != want) {
        fail(std::string(what) + ": got " + std::to_string(got) + ", expected " +
             std::to_string(want));
    }
}

void step(const char* format, ...) __attribute__((format(printf, 1, 2)));
void step(const char* format, ...) {
    ++gStep;
    if (gQuiet) {
        return;
    }
    std::printf("[%d] ", gStep);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
}

vext::sim::BoardSnapshot board0() {
    vext::sim::BoardSnapshot s;
    expect(vext::sim::readBoard(0, &s), "the simulated board cannot be read");
    return s;
}

const char* outputModeName(uint8_t mode) {
    switch (mode) {
        case 8:
            return "S-video";
        case 9:
            return "TV output off";
        case 10:
            return "composite";
        case 11:
            return "S-video and composite";
        case 12:
            return "idle";
        default:
            return "?";
    }
}

// The encoder's register file r0 to r33; "--" for a register that was never written.
void showEncoder(const vext::sim::BoardSnapshot& s) {
    say("      encoder registers r0..r33 (hex; -- never written):\n       ");
    for (int r = 0; r < 34; ++r) {
        if (s.encoderWrites[r] == 0) {
            say(" --");
        } else {
            say(" %02X", s.encoder[r]);
        }
    }
    say("\n      display mode r0=%u  brightness r9=%u  contrast r17=%u  position r10=%u r11=%u\n",
        s.encoder[0], s.encoder[9], s.encoder[17], s.encoder[10], s.encoder[11]);
    say("      output mode r14=%u (%s)\n", s.encoder[14], outputModeName(s.encoder[14]));
}

void showTiming(const char* label, const VideoTimingInfo& t) {
    say("      %-11s %3u..%-4u   %u..%-4u     %u/%-4u     %g/%-8g %u\n", label, t.HSyncOn,
        t.HSyncOff, t.VSyncOn, t.VSyncOff, t.HBackPorch, t.VBackPorch,
        static_cast<double>(t.ClkFreq16bpp), static_cast<double>(t.ClkFreq24bpp),
        t.ZizarRefreshRate);
}

// ---- the panel's process ----

struct FieldName {
    const char* name;
    uint16_t TVOutStatus::*field;
};

const FieldName kPanelFields[] = {
    {"enable", &TVOutStatus::enable},
    {"underscan", &TVOutStatus::underscan},
    {"brightness", &TVOutStatus::brightness},
    {"contrast", &TVOutStatus::contrast},
};

// Reads the resolution's settings, changes the named fields and stores them, as the settings
// panel does through the two settings exports.
int runPanel(const std::string& library, int argc, char** argv) {
    // The panel is another program with a current directory of its own: were it the host's, its
    // trace would truncate the host's "oemdll.txt".
    std::error_code ec;
    fs::create_directories("panel", ec);
    fs::current_path("panel", ec);
    Driver driver{};
    std::string error;
    if (argc < 1 || !loadDriver(library, &driver, &error)) {
        std::fprintf(stderr, "vextdemo panel: %s\n", error.c_str());
        return 1;
    }
    TVOutStatus status{};
    status.resolution = static_cast<uint16_t>(std::atoi(argv[0]));
    driver.GetTVOutStatus(&status);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        size_t eq = arg.find('=');
        bool known = false;
        for (const FieldName& f : kPanelFields) {
            if (eq != std::string::npos && arg.compare(0, eq, f.name) == 0) {
                status.*f.field = static_cast<uint16_t>(std::atoi(arg.c_str() + eq + 1));
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "vextdemo panel: unknown field %s\n", arg.c_str());
            return 2;
        }
    }
    driver.SetTVOutStatus(&status);
    return 0;
}

// Runs this program again as the panel's process, and waits for it.
pid_t runPanelProcess(const std::string& self, const std::string& library,
                      const std::vector<std::string>& args, int* exitCode) {
    std::vector<std::string> all = {self, "--library", library, "--panel"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return 0;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        *exitCode = -1;
    } else {
        *exitCode = WEXITSTATUS(status);
    }
    return pid;
}

// ---- the host's side ----

constexpr uint16_t kRes640x480 = 7;
constexpr uint32_t kTVOnBit = 0x1;  // board register 0x210: the picture also goes to the monitor

size_t countLines(const std::string& path) {
    std::string text;
    vext::sim::readWholeFile(path, &text);
    size_t lines = 0;
    for (char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

int runDemo(const std::string& self, const std::string& library, const fs::path& out) {
    // A fresh simulated machine in the output directory, which is also the host's current
    // directory, so the driver's trace file lands there.
    std::error_code ignored;
    fs::path root = out / "root";
    fs::remove_all(root, ignored);
    fs::create_directories(root);
    fs::remove(out / "oemdll.txt", ignored);
    fs::remove_all(out / "panel", ignored);
    fs::remove(out / "bus.vcd", ignored);
    fs::current_path(out);
    setenv(vext::sim::kSimRootVariable, root.c_str(), 1);
    setenv("GDBG_LEVEL", "80", 1);

    say("vext demo: the road of one event, from a 3D application's mode set to a brightness\n"
        "change that reaches the TV encoder while the picture is live, on a simulated board.\n\n");

    Driver d{};
    std::string error;
    step("The host loads the driver by file name and binds its exports by name");
    expect(loadDriver(library, &d, &error), error);
    say("      %s\n      all 16 bound (Windows binds the decorated \"_duvuzInitMapBoard@4\" ...)\n",
        library.c_str());

    step("A board with a TV encoder on its two-wire bus");
    expect(vext::sim::createBoard(0, vext::sim::BoardConfig{}), "cannot create the board");
    const uint32_t window = vext::sim::kBoardWindowAddress[0];
    say("      register window at 0x%08X, encoder at bus address 0x%02X\n", window,
        vext::sim::kEncoderBusAddress);

    step("The user has switched TV output on for 640x480 (registry, as the panel stores it)");
    TVOutStatus settings{};
    settings.resolution = kRes640x480;
    d.GetTVOutStatus(&settings);
    settings.enable = 1;
    d.SetTVOutStatus(&settings);
    say("      DIZA2_TVOUT=1, overscan, output device %u, brightness %u, contrast %u\n",
        settings.outputDevice, settings.brightness, settings.contrast);

    BoardInfo board{};
    board.Version = 0x00010000;
    board.VendorId = 0x121A;
    board.DeviceId = 0x0009;
    board.HWBaseAddr = window;
    board.SliSlaveAddr = 0;
    VideoTimingInfo asked{};
    asked.ZizarResolution = kRes640x480;
    asked.ZizarRefreshRate = 0;  // 60 Hz
    asked.Depth = 16;
    asked.HSyncOn = 96;
    asked.HSyncOff = 704;
    asked.VSyncOn = 2;
    asked.VSyncOff = 523;
    asked.HBackPorch = 40;
    asked.VBackPorch = 25;
    asked.XDimension = 640;
    asked.YDimension = 480;
    asked.ClkFreq16bpp = 25.175f;
    asked.ClkFreq24bpp = 50.35f;
    board.VideoTiming = asked;

    int32_t mapped = d.InitMapBoard(&board);
    step("The host maps the board              duvuzInitMapBoard    -> %d", mapped);
    expectEq(mapped, 1, "duvuzInitMapBoard");

    VideoTimingInfo timing = asked;
    int32_t rewritten = d.InitVideoTiming(&timing);
    step("The host asks for 640x480 at 60 Hz   duvuzInitVideoTiming -> %d (TV timing chosen)",
         rewritten);
    expectEq(rewritten, 1, "duvuzInitVideoTiming");
    say("                  hsync      vsync      back porch  clock 16/24 bpp  refresh code\n");
    showTiming("host asked", asked);
    showTiming("TV timing", timing);
    expect(timing.HSyncOff == 686 && timing.VBackPorch == 25 && timing.ClkFreq16bpp == 24.671f,
           "the timing is not the 640x480 overscan TV timing");

    int32_t set = d.InitSetVideo(&board);
    step("The host sets the mode               duvuzInitSetVideo    -> %d (TV output on)", set);
    expectEq(set, 1, "duvuzInitSetVideo");
    vext::sim::BoardSnapshot s = board0();
    showEncoder(s);
    uint32_t words[2] = {};
    d.Get(2, sizeof words, words);
    say("      duvuzGet: register base 0x%08X   duvuzGetMMIO(0x210): 0x%X (TV beside the "
        "monitor)\n",
        words[1], d.GetMMIO(0x210));
    say("      bus: %llu transactions, %u protocol errors\n",
        static_cast<unsigned long long>(s.transactionCount), s.protocolErrors);
    expectEq<unsigned>(s.encoder[0], 121, "encoder r0 (display mode of 640x480 overscan)");
    expectEq<unsigned>(s.encoder[9], settings.brightness, "encoder r9 (brightness)");
    expectEq<unsigned>(s.encoder[14], 11, "encoder r14 (output mode)");
    expectEq(s.protocolErrors, 0u, "bus protocol errors");

    int32_t switched = d.Control(2);
    step("The host switches TV output off      duvuzControl(2)      -> %d", switched);
    expectEq(switched, 1, "duvuzControl(2)");
    s = board0();
    say("      output mode r14=%u (%s), board register 0x210 bit 0 = %u\n", s.encoder[14],
        outputModeName(s.encoder[14]), d.GetMMIO(0x210) & kTVOnBit);
    expectEq<unsigned>(s.encoder[14], 9, "encoder r14 after switching off");
    switched = d.Control(1);
    step("... and on again                     duvuzControl(1)      -> %d", switched);
    expectEq(switched, 1, "duvuzControl(1)");
    s = board0();
    say("      output mode r14=%u (%s), board register 0x210 bit 0 = %u\n", s.encoder[14],
        outputModeName(s.encoder[14]), d.GetMMIO(0x210) & kTVOnBit);
    expectEq<unsigned>(s.encoder[14], 11, "encoder r14 after switching on");

    const uint16_t brighter = static_cast<uint16_t>(settings.brightness + 11);
    int code = 0;
    pid_t panel = runPanelProcess(
        self, library, {std::to_string(kRes640x480), "brightness=" + std::to_string(brighter)},
        &code);
    step("The settings panel (process %d) raises brightness %u -> %u", static_cast<int>(panel),
         settings.brightness, brighter);
    expect(panel != 0 && code == 0, "the panel's process failed");
    vext::sim::BoardSnapshot after = board0();
    int32_t status = d.GetStatus();
    say("      encoder r9: %u -> %u at once, written from the panel's process\n", s.encoder[9],
        after.encoder[9]);
    say("      the mode stays up: r0=%u, r14=%u (%s)\n", after.encoder[0], after.encoder[14],
        outputModeName(after.encoder[14]));
    say("      host's duvuzGetStatus -> %d: no new timing needed\n", status);
    expectEq<unsigned>(after.encoder[9], brighter, "encoder r9 after the panel's change");
    expectEq<unsigned>(after.encoder[14], 11, "encoder r14 after the panel's change");
    expectEq(status, 0, "duvuzGetStatus after a brightness change");
    expectEq(after.protocolErrors, 0u, "bus protocol errors");

    panel = runPanelProcess(self, library, {std::to_string(kRes640x480), "underscan=1"}, &code);
    step("The settings panel (process %d) switches 640x480 to underscan", static_cast<int>(panel));
    expect(panel != 0 && code == 0, "the panel's process failed");
    status = d.GetStatus();
    vext::sim::BoardSnapshot scan = board0();
    say("      encoder unchanged (r0=%u, still overscan)\n", scan.encoder[0]);
    say("      host's duvuzGetStatus -> %d: the host must set the mode again\n", status);
    expectEq(status, 1, "duvuzGetStatus after a scan-mode change");
    expectEq<unsigned>(scan.encoder[0], 121, "encoder r0 after the scan-mode change");

    int32_t restored = d.RestoreVideo(&board);
    step("The host ends                        duvuzRestoreVideo    -> %d", restored);
    expectEq(restored, 1, "duvuzRestoreVideo");

    fs::path vcd = out / "bus.vcd";
    expect(vext::sim::writeBoardCapture(0, vcd.string()), "cannot write the bus capture");
    fs::path trace = out / "oemdll.txt";
    std::string traced;
    expect(vext::sim::readWholeFile(trace.string(), &traced) &&
               traced.rfind("duvuzInitMapBoard: \r\n", 0) == 0,
           "the host's trace does not begin with duvuzInitMapBoard");
    say("\nLeft in %s:\n", out.c_str());
    say("  oemdll.txt        the host's trace (GDBG_LEVEL=80), %zu lines\n",
        countLines(trace.string()));
    say("  panel/oemdll.txt  the panel's process's trace of its switch-on\n");
    say("  bus.vcd           the encoder bus's clock and data lines, %llu changes (GTKWave, "
        "PulseView)\n",
        static_cast<unsigned long long>(board0().lineChanges));
    say("  root/             the simulated machine: registry.reg, the section, the board\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path self = fs::canonical("/proc/self/exe");
    std::string library = (self.parent_path().parent_path() / "driver" / "libvextlink.so").string();
    fs::path out = self.parent_path().parent_path() / "demo";
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--quiet") {
            gQuiet = true;
        } else if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (arg == "--library" && i + 1 < argc) {
            library = argv[++i];
        } else if (arg == "--panel") {
            return runPanel(library, argc - i - 1, argv + i + 1);
        } else {
            std::fprintf(stderr, "usage: vextdemo [--quiet] [--out DIR] [--library FILE]\n");
            return 2;
        }
    }
    std::error_code ec;
    fs::create_directories(out, ec);
    out = fs::absolute(out);
    library = fs::absolute(library).string();
    return runDemo(self.string(), library, out);
}
