// The simulated boards: register windows in the file "boards" of the simulation root, mapped
// shared by every process, and the encoder model that follows the two-wire bus line by line.
//
// Bus lines, as the board's registers drive them:
//   clock (scl): bit 0x8 of register 0x244, driven by the board;
//   data (sda): low when register 0x248 drives (bit 0x400) a low level (bit 0x200 clear), or
//   when the encoder pulls it low; high otherwise. A read of 0x248 shows the line in bit 0x200.
// The encoder samples a data bit while the clock is high and takes it when the clock falls, so a
// start or stop condition in between cancels the bit, as on a real two-wire slave.
#include "platform/sim/board.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/board_window.h"
#include "platform/sim/simroot.h"

namespace vext::sim {

namespace {

constexpr uint32_t kMagic = 0x56424431;  // "VBD1"
constexpr uint32_t kLogSize = 256;
constexpr uint32_t kCaptureSize = 1u << 16;

constexpr uint32_t kClockRegister = 0x244;
constexpr uint32_t kClockBit = 0x8;
constexpr uint32_t kDataRegister = 0x248;
constexpr uint32_t kDataLevelBit = 0x200;
constexpr uint32_t kDataDriveBit = 0x400;
constexpr uint32_t kStatusRegister = 0x000;
constexpr uint32_t kStatusBit = 0x200;
constexpr uint32_t kStrapRegister = 0x214;
constexpr uint32_t kStrapBit = 0x400000;

// Power-on values: the clock high and the data line released (the bus at rest), and the bits
// that the driver clears at the start of a transaction and after programming set.
constexpr uint32_t kClockRegisterReset = 0x08200018;

enum SlaveState : uint32_t {
    kIdle,           // no transaction
    kReceiving,      // taking bits from the master
    kAcknowledging,  // pulling data low for one clock
    kSending,        // driving the bits of a register read
    kMasterAck,      // waiting for the master's answer to a byte it read
    kIgnoring,       // not addressed or refused: waiting for a start or stop
};

struct LineEvent {
    uint64_t time;
    uint8_t scl;
    uint8_t sda;
    uint8_t pad[6];
};

struct LogEntry {
    uint8_t read, whole, device, reg, value, bytes, nakAt, readAddress;
};

struct Board {
    uint32_t exists;
    uint32_t address;
    // Behaviour.
    uint32_t encoderPresent;
    uint32_t encoderAddress;
    uint32_t acknowledgeEverything;
    uint32_t nakAtByte;
    int32_t probeReadback;
    uint32_t reg0PatternLength;
    char reg0Pattern[64];
    uint32_t reg214Bit;
    // Registers.
    uint32_t regs[kBoardWindowSize / 4];
    uint64_t reg0Reads;
    uint64_t accesses;
    // Lines.
    uint8_t scl, sda, slaveLow, pad0;
    // Encoder.
    uint8_t encoder[kEncoderRegisterCount];
    uint32_t encoderWrites[kEncoderRegisterCount];
    uint32_t state;
    uint32_t bitCount;
    uint32_t shift;
    uint32_t pendingValid;
    uint32_t pendingBit;
    uint32_t clockSeen;  // the clock rose during an acknowledge or a sent bit
    uint32_t inTransaction;
    uint32_t bytesInTransaction;
    uint32_t bytesSinceStart;
    uint32_t readMode;
    uint32_t regPointer;
    uint32_t sendByte;
    int32_t owner;
    LogEntry current;
    uint32_t protocolErrors;
    char lastError[96];
    uint32_t interleaved;
    uint64_t transactionCount;
    LogEntry log[kLogSize];
    // Capture.
    uint64_t captureCount;
    uint64_t captureStart;
    uint8_t captureScl, captureSda, pad1[6];
    LineEvent capture[kCaptureSize];
};

struct BoardFile {
    uint32_t magic;
    uint32_t size;
    pthread_mutex_t mutex;
    Board boards[kBoardCount];
};

// ---- the mapping of the root's board file, per process ----

struct Mapping {
    std::string rootKey;
    BoardFile* file = nullptr;
};

std::mutex gMappingMutex;
Mapping gMapping;
pid_t gPid = 0;
std::vector<RegisterAccess>* gAccessRecord = nullptr;

void noteAccess(bool write, uint32_t offset, uint32_t value) {
    if (gAccessRecord != nullptr) {
        gAccessRecord->push_back(RegisterAccess{write, offset, value});
    }
}

void refreshPid() {
    gPid = getpid();
}

pid_t currentPid() {
    static std::once_flag once;
    std::call_once(once, [] {
        refreshPid();
        pthread_atfork(nullptr, nullptr, refreshPid);
    });
    return gPid;
}

std::string rootKey() {
    const char* env = std::getenv(kSimRootVariable);
    return env != nullptr ? env : "";
}

BoardFile* mapFile(int fd) {
    void* p = mmap(nullptr, sizeof(BoardFile), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return p == MAP_FAILED ? nullptr : static_cast<BoardFile*>(p);
}

// The board file of the current root; created when create is set. nullptr when there is none.
BoardFile* boardFile(bool create) {
    std::lock_guard<std::mutex> guard(gMappingMutex);
    std::string key = rootKey();
    if (gMapping.file != nullptr && gMapping.rootKey == key) {
        return gMapping.file;
    }
    if (gMapping.file != nullptr) {
        munmap(gMapping.file, sizeof(BoardFile));
        gMapping.file = nullptr;
    }
    std::string path = simPath("boards");
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && create) {
        RootFileLock turn("boards.lock");
        fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            // Build the file aside and move it into place whole, so that no process maps a
            // half-made one.
            std::string temp = path + ".new";
            int tfd = open(temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (tfd < 0 || ftruncate(tfd, sizeof(BoardFile)) != 0) {
                if (tfd >= 0) {
                    close(tfd);
                }
                return nullptr;
            }
            BoardFile* f = mapFile(tfd);
            if (f == nullptr) {
                close(tfd);
                return nullptr;
            }
            pthread_mutexattr_t attr;
            pthread_mutexattr_init(&attr);
            pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
            pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
            pthread_mutex_init(&f->mutex, &attr);
            pthread_mutexattr_destroy(&attr);
            f->size = sizeof(BoardFile);
            f->magic = kMagic;
            munmap(f, sizeof(BoardFile));
            close(tfd);
            if (rename(temp.c_str(), path.c_str()) != 0) {
                return nullptr;
            }
            fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        }
    }
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    BoardFile* f = nullptr;
    if (fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) == sizeof(BoardFile)) {
        f = mapFile(fd);
    }
    close(fd);
    if (f != nullptr && (f->magic != kMagic || f->size != sizeof(BoardFile))) {
        munmap(f, sizeof(BoardFile));
        f = nullptr;
    }
    gMapping.file = f;
    gMapping.rootKey = key;
    return f;
}

// Holds the board file's lock. A process that died holding it leaves the boards as its last
// complete register access left them; the next holder takes over.
class FileLock {
  public:
    explicit FileLock(BoardFile* f) : f_(f) {
        int rc = pthread_mutex_lock(&f_->mutex);
        if (rc == EOWNERDEAD) {
            pthread_mutex_consistent(&f_->mutex);
        }
    }
    ~FileLock() { pthread_mutex_unlock(&f_->mutex); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    BoardFile* f_;
};

// ---- the encoder model ----

void protocolError(Board& b, const char* what) {
    ++b.protocolErrors;
    std::snprintf(b.lastError, sizeof b.lastError, "%s (at access %llu)", what,
                  static_cast<unsigned long long>(b.accesses));
}

uint8_t encoderRead(const Board& b, uint32_t reg) {
    if (reg == 16 && b.probeReadback >= 0) {
        return static_cast<uint8_t>(b.probeReadback);
    }
    return b.encoder[reg % kEncoderRegisterCount];
}

void endTransaction(Board& b) {
    if (b.bytesInTransaction > 0) {
        LogEntry& e = b.current;
        e.bytes = static_cast<uint8_t>(b.bytesInTransaction);
        b.log[b.transactionCount % kLogSize] = e;
        ++b.transactionCount;
    }
    b.inTransaction = 0;
    b.bytesInTransaction = 0;
    b.current = LogEntry{};
}

// A byte has arrived from the master; returns whether the encoder acknowledges it.
bool byteReceived(Board& b, uint8_t byte) {
    ++b.bytesInTransaction;
    ++b.bytesSinceStart;
    LogEntry& e = b.current;
    const uint32_t n = b.bytesInTransaction;
    if (b.acknowledgeEverything != 0) {
        if (n == 1) {
            e.device = byte;
        } else if (n == 2) {
            e.reg = byte;
        } else if (n == 3) {
            e.readAddress = byte;
            e.value = byte;
        }
        b.readMode = 0;
        return true;
    }
    if (b.bytesSinceStart == 1) {
        const bool addressed = b.encoderPresent != 0 && (byte & 0xFE) == b.encoderAddress;
        if (n == 1) {
            e.device = byte;
        } else {
            e.readAddress = byte;
        }
        if (!addressed) {
            e.nakAt = static_cast<uint8_t>(n);
            return false;
        }
        b.readMode = byte & 1;
        if (b.readMode != 0 && n != 3) {
            protocolError(b, "read address outside a register read");
        }
    } else if (b.readMode == 0 && b.bytesSinceStart == 2) {
        b.regPointer = byte % kEncoderRegisterCount;
        e.reg = byte;
    } else if (b.readMode == 0 && b.bytesSinceStart == 3) {
        // Taken only if acknowledged, below.
    } else {
        protocolError(b, "more bytes than one register write");
        return false;
    }
    if (b.nakAtByte == n) {
        e.nakAt = static_cast<uint8_t>(n);
        return false;
    }
    if (b.readMode == 0 && b.bytesSinceStart == 3) {
        b.encoder[b.regPointer] = byte;
        ++b.encoderWrites[b.regPointer];
        e.value = byte;
        e.whole = n == 3;
    }
    return true;
}

void onClockRise(Board& b) {
    if (b.state == kReceiving || b.state == kMasterAck) {
        b.pendingBit = b.sda;
        b.pendingValid = 1;
    } else if (b.state == kAcknowledging || b.state == kSending) {
        b.clockSeen = 1;
    }
}

void driveSendBit(Board& b) {
    b.slaveLow = ((b.sendByte >> (7 - b.bitCount)) & 1) == 0;
}

void onClockFall(Board& b) {
    switch (b.state) {
        case kReceiving:
            if (b.pendingValid == 0) {
                break;
            }
            b.pendingValid = 0;
            b.shift = ((b.shift << 1) | b.pendingBit) & 0xFF;
            if (++b.bitCount < 8) {
                break;
            }
            if (byteReceived(b, static_cast<uint8_t>(b.shift))) {
                b.state = kAcknowledging;
                b.clockSeen = 0;
                b.slaveLow = 1;
            } else {
                b.state = kIgnoring;
            }
            break;
        case kAcknowledging:
            if (b.clockSeen == 0) {
                break;
            }
            b.slaveLow = 0;
            b.bitCount = 0;
            b.shift = 0;
            if (b.readMode != 0) {
                b.sendByte = encoderRead(b, b.regPointer);
                b.current.value = static_cast<uint8_t>(b.sendByte);
                b.state = kSending;
                b.clockSeen = 0;
                driveSendBit(b);
            } else {
                b.state = kReceiving;
            }
            break;
        case kSending:
            if (b.clockSeen == 0) {
                break;
            }
            b.clockSeen = 0;
            if (++b.bitCount < 8) {
                driveSendBit(b);
            } else {
                b.slaveLow = 0;
                b.pendingValid = 0;
                b.state = kMasterAck;
            }
            break;
        case kMasterAck:
            if (b.pendingValid == 0) {
                break;
            }
            b.pendingValid = 0;
            if (b.pendingBit == 0) {
                protocolError(b, "master acknowledged a read byte: only one register is read");
            }
            b.current.read = 1;
            b.current.whole = b.bytesInTransaction == 3;
            b.state = kIgnoring;
            break;
        default:
            break;
    }
}

bool insideByte(const Board& b) {
    return (b.state == kReceiving && b.bitCount > 0) || b.state == kAcknowledging ||
           b.state == kSending;
}

void onStart(Board& b, int32_t writer) {
    if (insideByte(b)) {
        protocolError(b, "start condition inside a byte");
    }
    if (b.inTransaction == 0) {
        b.inTransaction = 1;
        b.owner = writer;
        b.current = LogEntry{};
    } else if (b.state == kReceiving && b.bitCount == 0 && b.bytesSinceStart != 2 &&
               b.acknowledgeEverything == 0) {
        protocolError(b, "repeated start outside a register read");
    }
    b.state = kReceiving;
    b.bitCount = 0;
    b.shift = 0;
    b.pendingValid = 0;
    b.bytesSinceStart = 0;
    b.readMode = 0;
    b.slaveLow = 0;
}

void onStop(Board& b) {
    if (insideByte(b)) {
        protocolError(b, "stop condition inside a byte");
    }
    if (b.inTransaction != 0 && b.current.nakAt == 0 && b.current.whole == 0 &&
        b.bytesInTransaction > 0 && b.acknowledgeEverything == 0) {
        protocolError(b, "transaction ended before its last byte");
    }
    endTransaction(b);
    b.state = kIdle;
    b.pendingValid = 0;
    b.slaveLow = 0;
}

void record(Board& b) {
    LineEvent& e = b.capture[b.captureCount % kCaptureSize];
    e.time = b.accesses;
    e.scl = b.scl;
    e.sda = b.sda;
    ++b.captureCount;
}

// Brings the lines up to date after a register write (or an encoder output change) and lets the
// encoder react to each edge.
void updateLines(Board& b, int32_t writer) {
    const uint8_t scl = (b.regs[kClockRegister / 4] & kClockBit) != 0;
    const uint32_t data = b.regs[kDataRegister / 4];
    const uint8_t hostSda = (data & kDataDriveBit) == 0 || (data & kDataLevelBit) != 0;
    const uint8_t oldScl = b.scl;
    const uint8_t oldSda = b.sda;
    if (b.inTransaction != 0 && writer != b.owner && (scl != oldScl || hostSda != oldSda)) {
        ++b.interleaved;
    }
    if (scl != oldScl) {
        b.scl = scl;
        if (scl != 0) {
            onClockRise(b);
        } else {
            onClockFall(b);
        }
    }
    uint8_t sda = hostSda && b.slaveLow == 0;
    if (sda != b.sda) {
        const bool edgeWithClockHigh = b.scl != 0 && scl == oldScl;
        b.sda = sda;
        if (edgeWithClockHigh && b.slaveLow == 0) {
            if (sda == 0) {
                onStart(b, writer);
            } else {
                onStop(b);
            }
            sda = hostSda && b.slaveLow == 0;
            b.sda = sda;
        }
    }
    // During the encoder's own bits (its acknowledge, the bits of a byte it sends) the master
    // must have let go of the data line while the clock is high. A master that still drives it
    // would hide the encoder's answer, or, as after an acknowledge without its clock pulse, lose
    // its stop condition under the encoder's low level.
    if (b.scl != 0 && (b.state == kAcknowledging || b.state == kSending) &&
        (data & kDataDriveBit) != 0) {
        protocolError(b, "master drives the data line during the encoder's bit");
    }
    if (b.scl != oldScl || b.sda != oldSda) {
        record(b);
    }
}

void resetBoard(Board& b, int index, const BoardConfig& config) {
    std::memset(static_cast<void*>(&b), 0, sizeof(Board));
    b.exists = 1;
    b.address = kBoardWindowAddress[index];
    b.encoderPresent = config.encoderPresent ? 1 : 0;
    b.encoderAddress = config.encoderAddress & 0xFEu;
    b.acknowledgeEverything = config.acknowledgeEverything ? 1 : 0;
    b.nakAtByte = config.nakAtByte;
    b.probeReadback = config.probeReadback;
    size_t n = config.reg0Pattern.size();
    if (n > sizeof b.reg0Pattern) {
        n = sizeof b.reg0Pattern;
    }
    std::memcpy(b.reg0Pattern, config.reg0Pattern.data(), n);
    b.reg0PatternLength = static_cast<uint32_t>(n);
    b.reg214Bit = config.reg214Bit ? 1 : 0;
    b.regs[kClockRegister / 4] = kClockRegisterReset;
    b.regs[kStrapRegister / 4] = config.reg214Bit ? kStrapBit : 0;
    b.scl = 1;
    b.sda = 1;
    b.captureScl = 1;
    b.captureSda = 1;
    b.state = kIdle;
}

Board* boardAt(BoardFile* f, uint32_t address, uint32_t* offset) {
    for (Board& b : f->boards) {
        if (b.exists != 0 && address - b.address < kBoardWindowSize) {
            *offset = (address - b.address) & ~3u;
            return &b;
        }
    }
    return nullptr;
}

bool validIndex(int index) {
    return index >= 0 && index < kBoardCount;
}

}  // namespace

bool createBoard(int index, const BoardConfig& config) {
    if (!validIndex(index) || config.reg0Pattern.find_first_not_of("01") != std::string::npos) {
        return false;
    }
    BoardFile* f = boardFile(true);
    if (f == nullptr) {
        return false;
    }
    FileLock lock(f);
    resetBoard(f->boards[index], index, config);
    return true;
}

bool removeBoard(int index) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr) {
        return false;
    }
    FileLock lock(f);
    f->boards[index].exists = 0;
    return true;
}

bool boardExists(int index) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr) {
        return false;
    }
    FileLock lock(f);
    return f->boards[index].exists != 0;
}

bool readBoard(int index, BoardSnapshot* s) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr) {
        return false;
    }
    FileLock lock(f);
    const Board& b = f->boards[index];
    if (b.exists == 0) {
        return false;
    }
    s->config.encoderPresent = b.encoderPresent != 0;
    s->config.encoderAddress = static_cast<uint8_t>(b.encoderAddress);
    s->config.acknowledgeEverything = b.acknowledgeEverything != 0;
    s->config.nakAtByte = b.nakAtByte;
    s->config.probeReadback = b.probeReadback;
    s->config.reg0Pattern.assign(b.reg0Pattern, b.reg0PatternLength);
    s->config.reg214Bit = b.reg214Bit != 0;
    s->address = b.address;
    std::memcpy(s->encoder, b.encoder, sizeof s->encoder);
    std::memcpy(s->encoderWrites, b.encoderWrites, sizeof s->encoderWrites);
    s->accesses = b.accesses;
    s->protocolErrors = b.protocolErrors;
    s->lastProtocolError = b.lastError;
    s->interleavedWrites = b.interleaved;
    s->transactionCount = b.transactionCount;
    s->transactions.clear();
    uint64_t first = b.transactionCount > kLogSize ? b.transactionCount - kLogSize : 0;
    for (uint64_t i = first; i < b.transactionCount; ++i) {
        const LogEntry& e = b.log[i % kLogSize];
        EncoderTransaction t;
        t.read = e.read != 0;
        t.whole = e.whole != 0;
        t.device = e.device;
        t.reg = e.reg;
        t.value = e.value;
        t.bytes = e.bytes;
        t.nakAt = e.nakAt;
        t.readAddress = e.readAddress;
        s->transactions.push_back(t);
    }
    s->lineChanges = b.captureCount;
    return true;
}

bool peekBoardRegister(int index, uint32_t offset, uint32_t* value) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr || offset >= kBoardWindowSize) {
        return false;
    }
    FileLock lock(f);
    const Board& b = f->boards[index];
    if (b.exists == 0) {
        return false;
    }
    *value = b.regs[offset / 4];
    return true;
}

bool clearBoardLog(int index) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr) {
        return false;
    }
    FileLock lock(f);
    Board& b = f->boards[index];
    if (b.exists == 0) {
        return false;
    }
    b.transactionCount = 0;
    b.protocolErrors = 0;
    b.lastError[0] = '\0';
    b.interleaved = 0;
    b.captureCount = 0;
    b.captureStart = b.accesses;
    b.captureScl = b.scl;
    b.captureSda = b.sda;
    return true;
}

void recordRegisterAccesses(std::vector<RegisterAccess>* accesses) {
    gAccessRecord = accesses;
}

bool writeBoardCapture(int index, const std::string& path) {
    BoardFile* f = validIndex(index) ? boardFile(false) : nullptr;
    if (f == nullptr) {
        return false;
    }
    std::string text;
    {
        FileLock lock(f);
        const Board& b = f->boards[index];
        if (b.exists == 0) {
            return false;
        }
        uint64_t first = b.captureCount > kCaptureSize ? b.captureCount - kCaptureSize : 0;
        uint64_t startTime = b.captureStart;
        uint8_t scl = b.captureScl;
        uint8_t sda = b.captureSda;
        if (first > 0) {
            // The oldest kept change gives the levels at the start of what is kept.
            const LineEvent& e = b.capture[first % kCaptureSize];
            startTime = e.time;
            scl = e.scl;
            sda = e.sda;
            ++first;
        }
        char line[96];
        text += "$comment vextsim board " + std::to_string(index) +
                ": encoder bus lines; one time step per board register access $end\n";
        text += "$timescale 10ns $end\n$scope module board" + std::to_string(index) + " $end\n";
        text += "$var wire 1 ! scl $end\n$var wire 1 \" sda $end\n$upscope $end\n";
        text += "$enddefinitions $end\n";
        std::snprintf(line, sizeof line, "#%llu\n$dumpvars\n%d!\n%d\"\n$end\n",
                      static_cast<unsigned long long>(startTime), scl, sda);
        text += line;
        uint64_t lastTime = startTime;
        for (uint64_t i = first; i < b.captureCount; ++i) {
            const LineEvent& e = b.capture[i % kCaptureSize];
            if (e.time != lastTime) {
                std::snprintf(line, sizeof line, "#%llu\n",
                              static_cast<unsigned long long>(e.time));
                text += line;
                lastTime = e.time;
            }
            if (e.scl != scl) {
                text += e.scl ? "1!\n" : "0!\n";
                scl = e.scl;
            }
            if (e.sda != sda) {
                text += e.sda ? "1\"\n" : "0\"\n";
                sda = e.sda;
            }
        }
        std::snprintf(line, sizeof line, "#%llu\n",
                      static_cast<unsigned long long>(b.accesses + 1));
        text += line;
    }
    return replaceFileAtomically(path, text);
}

}  // namespace vext::sim

namespace vext::platform {

// An address outside every board's window reads as an open bus, all ones, and takes no write.
uint32_t readRegisterWindow(uint32_t address) {
    sim::BoardFile* f = sim::boardFile(false);
    if (f == nullptr) {
        return 0xFFFFFFFFu;
    }
    sim::FileLock lock(f);
    uint32_t offset = 0;
    sim::Board* b = sim::boardAt(f, address, &offset);
    if (b == nullptr) {
        return 0xFFFFFFFFu;
    }
    ++b->accesses;
    uint32_t value = b->regs[offset / 4];
    if (offset == sim::kDataRegister) {
        value = (value & ~sim::kDataLevelBit) | (b->sda != 0 ? sim::kDataLevelBit : 0);
    } else if (offset == sim::kStatusRegister) {
        bool set = false;
        if (b->reg0PatternLength > 0) {
            set = b->reg0Pattern[b->reg0Reads % b->reg0PatternLength] == '1';
        }
        ++b->reg0Reads;
        value = (value & ~sim::kStatusBit) | (set ? sim::kStatusBit : 0);
    }
    sim::noteAccess(false, offset, value);
    return value;
}

void writeRegisterWindow(uint32_t address, uint32_t value) {
    sim::BoardFile* f = sim::boardFile(false);
    if (f == nullptr) {
        return;
    }
    const int32_t writer = static_cast<int32_t>(sim::currentPid());
    sim::FileLock lock(f);
    uint32_t offset = 0;
    sim::Board* b = sim::boardAt(f, address, &offset);
    if (b == nullptr) {
        return;
    }
    ++b->accesses;
    sim::noteAccess(true, offset, value);
    b->regs[offset / 4] = value;
    if (offset == sim::kClockRegister || offset == sim::kDataRegister) {
        sim::updateLines(*b, writer);
    }
}

}  // namespace vext::platform
