// vextsim board: creates and resets the simulated boards of a simulation root, has the driver
// program the encoder on them as the host would, and shows what the encoder received.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "driver/encoder.h"
#include "driver/entry_points.h"
#include "driver/host_records.h"
#include "driver/settings.h"
#include "driver/shared_block.h"
#include "driver/tables.h"
#include "platform/sim/board.h"
#include "platform/sim/simroot.h"
#include "tools/vextsim.h"

namespace vext::tools {

namespace {

bool parseBoardIndex(const std::string& text, int* index) {
    unsigned long v = 0;
    if (!parseNumber(text, sim::kBoardCount - 1, &v)) {
        return false;
    }
    *index = static_cast<int>(v);
    return true;
}

int create(const Args& args) {
    int index = 0;
    if (args.size() < 2 || !parseBoardIndex(args[1], &index)) {
        return usageError("board create needs a board number, 0 or 1");
    }
    sim::BoardConfig config;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        unsigned long v = 0;
        const bool hasValue = i + 1 < args.size();
        if (a == "--no-encoder") {
            config.encoderPresent = false;
        } else if (a == "--ack-all") {
            config.acknowledgeEverything = true;
        } else if (a == "--nak" && hasValue && parseNumber(args[i + 1], 255, &v)) {
            config.nakAtByte = static_cast<uint32_t>(v);
            ++i;
        } else if (a == "--probe" && hasValue && parseNumber(args[i + 1], 255, &v)) {
            config.probeReadback = static_cast<int>(v);
            ++i;
        } else if (a == "--address" && hasValue && parseNumber(args[i + 1], 255, &v)) {
            config.encoderAddress = static_cast<uint8_t>(v);
            ++i;
        } else if (a == "--reg0" && hasValue &&
                   args[i + 1].find_first_not_of("01") == std::string::npos &&
                   args[i + 1].size() <= 64) {
            config.reg0Pattern = args[i + 1];
            ++i;
        } else if (a == "--reg214" && hasValue && parseNumber(args[i + 1], 1, &v)) {
            config.reg214Bit = v != 0;
            ++i;
        } else {
            return usageError("board create: bad option '" + a + "'");
        }
    }
    if (!sim::createBoard(index, config)) {
        std::fprintf(stderr, "vextsim: cannot create board %d in %s\n", index,
                     sim::simRoot().c_str());
        return 1;
    }
    std::printf("board %d at 0x%08X\n", index, sim::kBoardWindowAddress[index]);
    return 0;
}

void printTransaction(const sim::EncoderTransaction& t) {
    std::printf("  %s dev 0x%02X", t.read ? "read " : "write", t.device);
    if (t.bytes >= 2) {
        std::printf(" reg %2u", t.reg);
    }
    if (t.read && t.bytes >= 3) {
        std::printf(" rd 0x%02X", t.readAddress);
    }
    if (t.whole) {
        std::printf(" %s 0x%02X (%u)", t.read ? "->" : "=", t.value, t.value);
    }
    if (t.nakAt != 0) {
        std::printf("  no acknowledge at byte %u", t.nakAt);
    } else if (!t.whole) {
        std::printf("  incomplete");
    }
    std::printf("\n");
}

int show(int index, size_t logLines) {
    sim::BoardSnapshot s;
    if (!sim::readBoard(index, &s)) {
        std::printf("board %d: none (vextsim board create %d)\n", index, index);
        return 1;
    }
    std::printf("board %d at 0x%08X\n", index, s.address);
    std::printf("  encoder %s at 0x%02X", s.config.encoderPresent ? "present" : "absent",
                s.config.encoderAddress);
    if (s.config.acknowledgeEverything) {
        std::printf(", acknowledging everything");
    }
    if (s.config.nakAtByte != 0) {
        std::printf(", no acknowledge at byte %u", s.config.nakAtByte);
    }
    if (s.config.probeReadback >= 0) {
        std::printf(", register 16 reads %d", s.config.probeReadback);
    }
    std::printf("\n  register 0x000 bit 0x200 pattern '%s', register 0x214 bit 0x400000 %s\n",
                s.config.reg0Pattern.c_str(), s.config.reg214Bit ? "set" : "clear");
    const uint32_t offsets[] = {0x000, 0x208, 0x210, 0x214, 0x220, 0x224, 0x244, 0x248};
    std::printf("  board registers:");
    for (uint32_t offset : offsets) {
        uint32_t v = 0;
        sim::peekBoardRegister(index, offset, &v);
        std::printf(" %03X=%08X", offset, v);
    }
    std::printf("\n  encoder registers (decimal; * never written):\n");
    for (int row = 0; row < 34; row += 10) {
        std::printf("   ");
        for (int reg = row; reg < row + 10 && reg < 34; ++reg) {
            std::printf(" %2d:%3u%c", reg, s.encoder[reg], s.encoderWrites[reg] == 0 ? '*' : ' ');
        }
        std::printf("\n");
    }
    std::printf("  %llu register accesses, %llu transactions, %llu line changes recorded\n",
                static_cast<unsigned long long>(s.accesses),
                static_cast<unsigned long long>(s.transactionCount),
                static_cast<unsigned long long>(s.lineChanges));
    std::printf(
        "  protocol errors: %u%s%s; line changes from another process inside a "
        "transaction: %u\n",
        s.protocolErrors, s.protocolErrors != 0 ? ", last: " : "", s.lastProtocolError.c_str(),
        s.interleavedWrites);
    if (logLines > 0 && !s.transactions.empty()) {
        size_t first = s.transactions.size() > logLines ? s.transactions.size() - logLines : 0;
        std::printf("  latest transactions:\n");
        for (size_t i = first; i < s.transactions.size(); ++i) {
            printTransaction(s.transactions[i]);
        }
    }
    return 0;
}

bool parseResolution(const std::string& text, uint16_t* code) {
    for (const ResolutionName& row : ResolutionNameTable) {
        if (text == row.name) {
            *code = static_cast<uint16_t>(row.code);
            return true;
        }
    }
    unsigned long v = 0;
    if (!parseNumber(text, 15, &v)) {
        return false;
    }
    *code = static_cast<uint16_t>(v);
    return true;
}

// The host's sequence up to TV output on: map the board, choose the timing of the resolution
// (which loads its settings), and run the encoder-facing steps of setting the video.
int program(const Args& args) {
    uint16_t resolution = 7;
    unsigned long hold = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--hold" && i + 1 < args.size() && parseNumber(args[i + 1], 3600, &hold)) {
            ++i;
        } else if (!parseResolution(args[i], &resolution)) {
            return usageError("board program: bad argument '" + args[i] + "'");
        }
    }
    if (!sim::boardExists(0)) {
        std::fprintf(stderr, "vextsim: no board 0 (vextsim board create 0)\n");
        return 1;
    }
    BoardInfo board{};
    board.HWBaseAddr = sim::kBoardWindowAddress[0];
    board.SliSlaveAddr = sim::boardExists(1) ? sim::kBoardWindowAddress[1] : 0;
    board.VideoTiming.ZizarResolution = resolution;
    duvuzInitMapBoard(&board);
    VideoTimingInfo timing = board.VideoTiming;
    duvuzInitVideoTiming(&timing);
    if (mapSharedBlock() == 0) {
        std::fprintf(stderr, "vextsim: cannot create the section %s\n", kSharedSectionName);
        return 1;
    }
    TVOutSharedBlock* block = sharedBlock();
    const int32_t result = setUpTVEncoder(&board);
    std::printf("%s %s: %s\n", resolutionName(resolution), scanName(block->status.underscan),
                result != 0 ? "encoder programmed, TV output on"
                            : "TV output disabled (vextsim tvout set RES enable=1), "
                              "encoder left in set-up mode 12");
    std::printf("regBase 0x%08X, otherRegBase 0x%08X, alternateSetup %u\n", block->regBase,
                block->otherRegBase, block->alternateSetup);
    if (hold > 0) {
        // Keeps the section alive, as a running host does, so that other processes can apply
        // settings live meanwhile.
        std::printf("holding the section for %lu s\n", hold);
        std::fflush(stdout);
        sleep(static_cast<unsigned>(hold));
    }
    return 0;
}

}  // namespace

int runBoardCommand(const Args& args) {
    if (args.empty()) {
        return usageError("board needs a command");
    }
    const std::string& cmd = args[0];
    if (cmd == "create") {
        return create(args);
    }
    if (cmd == "program") {
        return program(args);
    }
    int index = 0;
    if (cmd == "show") {
        if (args.size() > 2 || (args.size() == 2 && !parseBoardIndex(args[1], &index))) {
            return usageError("board show takes a board number, 0 or 1");
        }
        if (args.size() == 2) {
            return show(index, 8);
        }
        int rc = show(0, 8);
        if (sim::boardExists(1)) {
            show(1, 8);
        }
        return rc;
    }
    if (args.size() < 2 || !parseBoardIndex(args[1], &index)) {
        return usageError("board " + cmd + " needs a board number, 0 or 1");
    }
    if (cmd == "log" && args.size() <= 3) {
        unsigned long lines = 256;
        if (args.size() == 3 && !parseNumber(args[2], 256, &lines)) {
            return usageError("board log: bad count");
        }
        sim::BoardSnapshot s;
        if (!sim::readBoard(index, &s)) {
            std::fprintf(stderr, "vextsim: no board %d\n", index);
            return 1;
        }
        size_t first = s.transactions.size() > lines ? s.transactions.size() - lines : 0;
        for (size_t i = first; i < s.transactions.size(); ++i) {
            printTransaction(s.transactions[i]);
        }
        return 0;
    }
    if (cmd == "remove" && args.size() == 2) {
        return sim::removeBoard(index) ? 0 : 1;
    }
    if (cmd == "clear" && args.size() == 2) {
        return sim::clearBoardLog(index) ? 0 : 1;
    }
    if (cmd == "vcd" && args.size() == 3) {
        if (!sim::writeBoardCapture(index, args[2])) {
            std::fprintf(stderr, "vextsim: cannot write the capture of board %d to %s\n", index,
                         args[2].c_str());
            return 1;
        }
        std::printf("wrote %s (signals scl and sda)\n", args[2].c_str());
        return 0;
    }
    return usageError("board: bad command or arguments");
}

}  // namespace vext::tools
