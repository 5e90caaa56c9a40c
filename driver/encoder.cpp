#include "driver/encoder.h"

#include "driver/bus_lock.h"
#include "driver/encoder_bus.h"
#include "driver/settings.h"
#include "driver/trace.h"

namespace vext {

namespace {

constexpr uint32_t kStatusRegister = 0x000;
constexpr uint32_t kStatusBusyBit = 0x200;
constexpr uint32_t kOutputRegister = 0x210;
constexpr uint32_t kMonitorOutputBit = 0x1;
constexpr uint32_t kStrapRegister = 0x214;
constexpr uint32_t kStrapStandardSetupBit = 0x400000;
constexpr uint32_t kClockRegister = 0x244;
constexpr uint32_t kClockRegisterTVBit = 0x200000;

constexpr uint32_t kOutputModeRegister = 14;
constexpr uint32_t kProbeRegister = 16;
constexpr uint8_t kOutputOff = 9;
constexpr uint8_t kOutputProbe = 11;
constexpr uint8_t kOutputSetUp = 12;
constexpr uint8_t kProbeNoEncoder = 14;

// The dot-crawl words, register 24 taking the top four bits.
constexpr uint32_t kDotCrawlWords[2] = {0x25249249u, 0x25249C7Au};

uint8_t outputModeOf(uint32_t outputDevice) {
    switch (outputDevice) {
        case 1:
            return 8;  // S-video
        case 2:
            return 10;  // composite
        case 3:
            return 11;  // both
        default:
            return kOutputOff;
    }
}

void writeEncoder(uint32_t reg, uint32_t value) {
    vdoSetDac(kEncoderAddress, reg, value);
}

}  // namespace

void buildEncoderImage(const TVOutSharedBlock& block, const TVTimingEntry& timing,
                       uint8_t image[kEncoderImageSize]) {
    const TVOutStatus& s = block.status;
    const TVOutPosition& p = s.position[s.underscan != 0 ? 1 : 0];
    const uint32_t t = timing.startValue;
    for (int i = 0; i < kEncoderImageSize; ++i) {
        image[i] = kNotWritten;
    }
    image[0] = timing.encoderMode;
    image[1] = s.flickerFilter != 0 ? 3 : 0;
    image[3] = 0;
    image[4] = block.alternateSetup != 0 ? 0x40 : 0x42;
    image[6] = block.alternateSetup != 0 ? 0x10 : 0x14;
    image[7] = static_cast<uint8_t>(t & 0xFF);
    image[8] = static_cast<uint8_t>(((t >> 8) & 1) << 2 | ((p.horizontal >> 8) & 1) << 1 |
                                    ((p.vertical >> 8) & 1));
    image[9] = static_cast<uint8_t>(s.brightness & 0xFF);
    image[10] = static_cast<uint8_t>(p.horizontal & 0xFF);
    image[11] = static_cast<uint8_t>(p.vertical & 0xFF);
    image[13] = 0;
    image[17] = static_cast<uint8_t>(s.contrast & 0xFF);
    image[19] = 0;
    image[20] = 0;
    image[21] = 1;
    const uint32_t word = kDotCrawlWords[s.dotCrawl != 0 ? 1 : 0];
    for (int i = 0; i < 8; ++i) {
        image[24 + i] = static_cast<uint8_t>((word >> (28 - 4 * i)) & 0xF);
    }
    image[32] = 0x0A;
    image[33] = 1;
}

int32_t programTVEncoder() {
    if (readTVOutSetting(0, nullptr, kIgnoreEncoderSwitch, 0) != 0) {
        return 0;
    }
    TVOutSharedBlock* block = sharedBlock();
    if (block == nullptr) {
        return 0;
    }
    // Runs only for a live mode with a TV timing (the host's timing step cleared enable
    // otherwise); a block that says otherwise is left alone rather than read past the table.
    const uint32_t index = tvTimingIndex(block->status.resolution, block->status.underscan);
    if (index == kNoTVTiming) {
        return 0;
    }
    BusLock lock;
    uint8_t image[kEncoderImageSize];
    buildEncoderImage(*block, TVTimingTable[index], image);
    for (int reg = 0; reg < kEncoderImageSize; ++reg) {
        if (image[reg] != kNotWritten) {
            writeEncoder(static_cast<uint32_t>(reg), image[reg]);
        }
    }
    if (block->tvActive != 0) {
        duvuzControl(1);
    } else {
        writeEncoder(kOutputModeRegister, kOutputOff);
    }
    return 0;
}

uint32_t switchTVOutput(uint32_t mode) {
    TVOutSharedBlock* block = sharedBlock();
    BusLock lock;
    uint32_t output = readBoardRegister(kOutputRegister);
    uint8_t outputMode = kOutputOff;
    if (mode == 1) {
        block->tvActive = 1;
        if (block->status.tvOnly == 0) {
            output |= kMonitorOutputBit;
        } else {
            output &= ~kMonitorOutputBit;
        }
        outputMode = outputModeOf(block->status.outputDevice);
    } else if (mode == 2) {
        block->tvActive = 0;
        output &= ~kMonitorOutputBit;
    } else {
        return 0;
    }
    writeBoardRegister(kOutputRegister, output);
    writeEncoder(kOutputModeRegister, outputMode);
    return 1;
}

uint8_t probeEncoder(uint8_t previous) {
    BusLock lock;
    uint8_t byte = previous;
    writeEncoder(kOutputModeRegister, kOutputProbe);
    writeEncoder(kProbeRegister, 1);
    writeEncoder(kProbeRegister, 0);
    vdoGetDac(kEncoderAddress, kProbeRegister, &byte);
    writeEncoder(kOutputModeRegister, kOutputSetUp);
    return byte;
}

bool waitRegister0Clear() {
    int clearReads = 0;
    for (uint32_t reads = 0; reads < kRegister0ReadLimit; ++reads) {
        if ((readBoardRegister(kStatusRegister) & kStatusBusyBit) != 0) {
            clearReads = 0;
        } else if (++clearReads == 3) {
            return true;
        }
    }
    return false;
}

int32_t setUpTVEncoder(const BoardInfo* board) {
    TVOutSharedBlock* block = sharedBlock();
    if (board == nullptr || block == nullptr) {
        return 0;
    }
    BusLock lock;
    block->regBase = board->HWBaseAddr;
    block->otherRegBase = board->SliSlaveAddr;
    writeEncoder(kOutputModeRegister, kOutputSetUp);
    if (block->status.enable == 0) {
        return 0;
    }
    // The probe byte starts at 0, so a first probe whose read fails keeps the first board.
    uint8_t probe = probeEncoder(0);
    if (probe == kProbeNoEncoder && board->SliSlaveAddr != 0) {
        block->regBase = board->SliSlaveAddr;
        probe = probeEncoder(probe);
        if (probe == kProbeNoEncoder) {
            block->regBase = board->HWBaseAddr;
        } else {
            block->otherRegBase = board->HWBaseAddr;
        }
    }
    block->alternateSetup =
        (readBoardRegister(kStrapRegister) & kStrapStandardSetupBit) != 0 ? 0 : 1;
    block->tvActive = 1;
    programTVEncoder();
    writeBoardRegister(kClockRegister, readBoardRegister(kClockRegister) & ~kClockRegisterTVBit);
    return 1;
}

}  // namespace vext

using namespace vext;

extern "C" uint32_t VEXT_STDCALL duvuzControl(uint32_t mode) {
    // The heading names the mode switch, not the export; the programming's own switch-on
    // traces it too.
    traceEntry("duvuzControlMode", nullptr);
    if (mapSharedBlock() == 0 || sharedBlock()->status.enable == 0) {
        return 0;
    }
    return switchTVOutput(mode);
}
