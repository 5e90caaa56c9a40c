// Board register accesses and host time per encoder bus transaction and per programming run, on
// a simulated board in a simulation root of its own.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "driver/encoder.h"
#include "driver/encoder_bus.h"
#include "driver/settings.h"
#include "driver/shared_block.h"
#include "platform/sim/board.h"
#include "platform/sim/simroot.h"

namespace {

using namespace vext;

// A fresh root with one board (as configured) and TV output live at 640x480.
class Rig {
  public:
    explicit Rig(const sim::BoardConfig& config) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vext-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        setenv(sim::kSimRootVariable, root_.c_str(), 1);
        resetSharedBlockForTesting();
        sim::createBoard(0, config);
        createSharedBlock();
        TVOutSharedBlock* b = sharedBlock();
        b->regBase = sim::kBoardWindowAddress[0];
        b->status.resolution = 7;
        duvuzGetTVOutStatus(&b->status);
        b->status.enable = 1;
        b->tvActive = 1;
    }
    ~Rig() {
        resetSharedBlockForTesting();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    uint64_t accesses() const {
        sim::BoardSnapshot s;
        sim::readBoard(0, &s);
        return s.accesses;
    }

  private:
    std::string root_;
};

template <typename F>
void run(benchmark::State& state, const sim::BoardConfig& config, F call) {
    Rig rig(config);
    const uint64_t before = rig.accesses();
    for (auto _ : state) {
        call();
    }
    const double accesses = static_cast<double>(rig.accesses() - before);
    state.counters["board_accesses_per_call"] =
        benchmark::Counter(accesses / static_cast<double>(state.iterations()));
}

void BM_SetDac(benchmark::State& state) {
    run(state, sim::BoardConfig{}, [] { benchmark::DoNotOptimize(vdoSetDac(0xEC, 9, 0x5A)); });
}
BENCHMARK(BM_SetDac);

void BM_GetDac(benchmark::State& state) {
    uint8_t byte = 0;
    run(state, sim::BoardConfig{}, [&] { benchmark::DoNotOptimize(vdoGetDac(0xEC, 16, &byte)); });
}
BENCHMARK(BM_GetDac);

// No encoder: every transaction ends after the first byte's 5000 acknowledge polls.
void BM_SetDacNoEncoder(benchmark::State& state) {
    sim::BoardConfig config;
    config.encoderPresent = false;
    run(state, config, [] { benchmark::DoNotOptimize(vdoSetDac(0xEC, 9, 0x5A)); });
}
BENCHMARK(BM_SetDacNoEncoder);

// 25 image registers and the output switch.
void BM_ProgramTVEncoder(benchmark::State& state) {
    run(state, sim::BoardConfig{}, [] { benchmark::DoNotOptimize(programTVEncoder()); });
}
BENCHMARK(BM_ProgramTVEncoder);

}  // namespace

BENCHMARK_MAIN();
