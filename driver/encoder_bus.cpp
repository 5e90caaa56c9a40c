#include "driver/encoder_bus.h"

#include "driver/bus_lock.h"
#include "driver/shared_block.h"

namespace vext {

namespace {

constexpr uint32_t kClockRegister = 0x244;
constexpr uint32_t kClockBit = 0x8;
constexpr uint32_t kPrepareMask = 0xF7FFFFEF;  // clears 0x08000000 and 0x10
constexpr uint32_t kDataRegister = 0x248;
constexpr uint32_t kDataLevel = 0x200;
constexpr uint32_t kDataDrive = 0x400;
constexpr uint32_t kDataSet = 0x800;
constexpr uint32_t kDataClear = 0x1000;

// ---- line operations: each one read and one write of the changed value ----

void clockLow() {
    writeBoardRegister(kClockRegister, readBoardRegister(kClockRegister) & ~kClockBit);
}

void clockHigh() {
    writeBoardRegister(kClockRegister, readBoardRegister(kClockRegister) | kClockBit);
}

void dataLow() {
    uint32_t v = readBoardRegister(kDataRegister);
    writeBoardRegister(kDataRegister, (v & ~(kDataClear | kDataLevel)) | kDataDrive | kDataSet);
}

void dataHigh() {
    uint32_t v = readBoardRegister(kDataRegister);
    writeBoardRegister(kDataRegister, (v & ~kDataClear) | kDataLevel | kDataDrive | kDataSet);
}

// Stops driving the data line, so that the device can pull it low.
void releaseData() {
    uint32_t v = readBoardRegister(kDataRegister);
    writeBoardRegister(kDataRegister, (v & ~(kDataClear | kDataDrive)) | kDataLevel | kDataSet);
}

// True when the data line is low. One read.
bool dataIsLow() {
    return (readBoardRegister(kDataRegister) & kDataLevel) == 0;
}

// ---- framing ----

void prepare() {
    writeBoardRegister(kClockRegister, readBoardRegister(kClockRegister) & kPrepareMask);
}

// Leaves the clock high and the data line driven low.
void start() {
    dataHigh();
    clockHigh();
    dataHigh();
    dataLow();
}

// Leaves the clock high and the data line driven high: the bus at rest.
void stop() {
    dataLow();
    clockHigh();
    dataLow();
    dataHigh();
}

// Most significant bit first; the clock stays high after the last bit.
void writeByte(uint32_t value) {
    for (int bit = 7; bit >= 0; --bit) {
        clockLow();
        if ((value >> bit) & 1) {
            dataHigh();
        } else {
            dataLow();
        }
        clockHigh();
    }
}

// One acknowledge clock. Polls the data line at most kAckPollLimit times; whatever the outcome,
// it ends with the clock low and the data line driven high again, and sends no stop: the
// caller does.
bool waitAck() {
    clockLow();
    releaseData();
    clockHigh();
    bool acked = false;
    for (int i = 0; i < kAckPollLimit; ++i) {
        if (dataIsLow()) {
            acked = true;
            break;
        }
    }
    clockLow();
    dataHigh();
    return acked;
}

// Reads eight bits, most significant first, and answers with a not-acknowledge.
void readByte(uint8_t* byte) {
    *byte = 0;
    releaseData();
    for (int i = 0; i < 8; ++i) {
        *byte = static_cast<uint8_t>(*byte << 1);
        clockHigh();
        uint32_t v = readBoardRegister(kDataRegister);
        clockLow();
        if ((v & kDataLevel) != 0) {
            *byte = static_cast<uint8_t>(*byte | 1);
        }
    }
    dataHigh();
    clockHigh();
    clockLow();
}

// Stop condition, then the result word.
uint32_t finish(uint32_t code) {
    stop();
    return (readBoardRegister(kClockRegister) & 0xFFFF0000u) | code;
}

// Start, the device's write address and the register number, each acknowledged: both
// transactions begin this way. Returns 0, or the code of the byte that was not acknowledged; the
// caller sends the stop.
uint32_t addressRegister(uint32_t device, uint32_t reg) {
    prepare();
    start();
    writeByte(device & 0xFF);
    if (!waitAck()) {
        return kBusNoAckDevice;
    }
    writeByte(reg & 0xFF);
    return waitAck() ? 0 : kBusNoAckRegister;
}

// Nothing can answer on a bus whose register window is not known yet: the transaction touches
// no register and reports that the device did not answer.
bool noBus() {
    return sharedBlock()->regBase == 0;
}

}  // namespace

}  // namespace vext

using namespace vext;

extern "C" uint32_t VEXT_STDCALL vdoSetDac(uint32_t device, uint32_t reg, uint32_t value) {
    if (mapSharedBlock() == 0) {
        return 0;
    }
    if (noBus()) {
        return kBusNoAckDevice;
    }
    BusLock lock;
    if (uint32_t refused = addressRegister(device, reg)) {
        return finish(refused);
    }
    writeByte(value & 0xFF);
    return finish(waitAck() ? kBusDone : kBusNoAckThirdByte);
}

extern "C" uint32_t VEXT_STDCALL vdoGetDac(uint32_t device, uint32_t reg, uint8_t* out) {
    if (mapSharedBlock() == 0) {
        return 0;
    }
    if (noBus()) {
        return kBusNoAckDevice;
    }
    BusLock lock;
    if (uint32_t refused = addressRegister(device, reg)) {
        return finish(refused);
    }
    start();
    writeByte((device + 1) & 0xFF);
    if (!waitAck()) {
        return finish(kBusNoAckThirdByte);
    }
    uint8_t byte = 0;
    readByte(&byte);
    if (out != nullptr) {
        *out = byte;
    }
    return finish(kBusDone);
}
