// The simulated boards of a simulation root: one or two register windows at fixed 32-bit
// addresses, in a file of the root that every process maps, each with a bit-level model of the TV
// encoder as a two-wire slave. The driver reaches them through platform/board_window.h; this is
// the control side for the vextsim command and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vext::sim {

constexpr int kBoardCount = 2;
// Where the boards' register windows lie, as a host would pass them in BoardInfo.
constexpr uint32_t kBoardWindowAddress[kBoardCount] = {0xE0000000u, 0xE1000000u};
constexpr uint32_t kBoardWindowSize = 0x10000;
// The encoder's bus address (write form) and the size of its register file.
constexpr uint8_t kEncoderBusAddress = 0xEC;
constexpr int kEncoderRegisterCount = 64;

struct BoardConfig {
    bool encoderPresent = true;
    // The encoder's bus address, write form.
    uint8_t encoderAddress = kEncoderBusAddress;
    // In place of the encoder, a device that acknowledges every byte at any address and sends
    // nothing (reads give 0xFF): shows what a master puts on the bus past the first bytes.
    bool acknowledgeEverything = false;
    // 0: every byte is acknowledged; n: the encoder does not acknowledge the n-th byte of a
    // transaction (1 the device address, 2 the register number, 3 the value or read address).
    uint32_t nakAtByte = 0;
    // -1: encoder register 16 reads back what was written to it; else this value.
    int probeReadback = -1;
    // Bit 0x200 of register 0x000 on successive reads, repeating: '1' set, '0' clear. Empty: clear.
    std::string reg0Pattern;
    // Bit 0x400000 of register 0x214.
    bool reg214Bit = true;
};

// One bus transaction as the encoder saw it, logged at its stop condition.
struct EncoderTransaction {
    bool read = false;   // a register read (write address, register, repeated start, read address)
    bool whole = false;  // every byte of a full write or read arrived and was acknowledged
    uint8_t device = 0;  // the first address byte
    uint8_t reg = 0;     // the register number, when it arrived
    uint8_t value = 0;   // the value written or sent back
    uint8_t readAddress = 0;  // the address byte after the repeated start of a read
    uint8_t bytes = 0;        // bytes that the master sent
    uint8_t nakAt = 0;        // the byte that was not acknowledged, 0 for none
};

struct BoardSnapshot {
    BoardConfig config;
    uint32_t address = 0;
    uint8_t encoder[kEncoderRegisterCount] = {};
    uint32_t encoderWrites[kEncoderRegisterCount] = {};
    uint64_t accesses = 0;           // register accesses since the board was created or reset
    uint32_t protocolErrors = 0;     // framing that a two-wire slave cannot accept
    std::string lastProtocolError;   // what the last one was
    uint32_t interleavedWrites = 0;  // line changes by another process inside a transaction
    uint64_t transactionCount = 0;   // transactions since the log was cleared
    std::vector<EncoderTransaction> transactions;  // the latest ones, oldest first
    uint64_t lineChanges = 0;                      // recorded line changes since cleared
};

// Creates a board, or resets an existing one to its power-on state, with the given behaviour.
bool createBoard(int index, const BoardConfig& config);
// Removes a board: its window reads as open bus (all ones) afterwards.
bool removeBoard(int index);
bool boardExists(int index);
bool readBoard(int index, BoardSnapshot* snapshot);
// Reads a register as it stands, without the side effects of a driver's read.
bool peekBoardRegister(int index, uint32_t offset, uint32_t* value);
// Forgets the transaction log, the line capture and the error counts.
bool clearBoardLog(int index);
// Writes the recorded clock and data levels as a VCD file (signals scl and sda).
bool writeBoardCapture(int index, const std::string& path);

// One access of this process to a board's register window, as the driver made it.
struct RegisterAccess {
    bool write = false;
    uint32_t offset = 0;  // in the window
    uint32_t value = 0;   // written, or read back
};
// For tests: appends every later access of this process to a board window to *accesses, in
// order; nullptr stops. Shows the exact order of line operations, which the lines alone do not.
void recordRegisterAccesses(std::vector<RegisterAccess>* accesses);

}  // namespace vext::sim
