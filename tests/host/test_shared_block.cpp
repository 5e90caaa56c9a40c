// The shared status block across processes, board register access and the bus lock.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "driver/shared_block.h"
#include "platform/board_window.h"
#include "platform/named_lock.h"
#include "platform/sim/board.h"
#include "tests/host/board_fixture.h"

namespace vext::test {
namespace {

using SharedBlockTest = DriverStateTest;

struct Answer {
    uint32_t result;
    uint32_t words[2];
};

Answer query(uint32_t q, uint32_t size) {
    Answer a{0, {0xAAAAAAAAu, 0xAAAAAAAAu}};
    a.result = duvuzGet(q, size, a.words);
    return a;
}

TEST_F(SharedBlockTest, WithoutSectionQueriesGiveZerosOfFullSize) {
    Answer a1 = query(1, 4);
    EXPECT_EQ(a1.result, 4u);
    EXPECT_EQ(a1.words[0], 0u);
    EXPECT_EQ(a1.words[1], 0xAAAAAAAAu);
    Answer a2 = query(2, 8);
    EXPECT_EQ(a2.result, 8u);
    EXPECT_EQ(a2.words[0], 0u);
    EXPECT_EQ(a2.words[1], 0u);
    EXPECT_EQ(mapSharedBlock(), 0);
    EXPECT_EQ(duvuzGetMMIO(0x214), 0u);
    EXPECT_EQ(duvuzSetMMIO(0x214, 1), 0u);
}

TEST_F(SharedBlockTest, UnknownQueryOrWrongSizeWritesNothing) {
    createSharedBlock();
    const uint32_t cases[][2] = {{1, 8}, {2, 4}, {3, 0}, {4, 4}, {4, 8}, {0, 4}};
    for (const auto& c : cases) {
        Answer a = query(c[0], c[1]);
        EXPECT_EQ(a.result, 0u) << c[0] << "/" << c[1];
        EXPECT_EQ(a.words[0], 0xAAAAAAAAu);
        EXPECT_EQ(a.words[1], 0xAAAAAAAAu);
    }
}

TEST_F(SharedBlockTest, QueriesAnswerFromLiveBlockOnlyWhileEnabled) {
    createSharedBlock();
    TVOutSharedBlock* b = sharedBlock();
    ASSERT_NE(b, nullptr);
    // A fresh section is zero-filled.
    TVOutSharedBlock zero{};
    EXPECT_EQ(std::memcmp(b, &zero, sizeof zero), 0);
    b->regBase = 0xE0000000u;
    b->otherRegBase = 0xE1000000u;
    EXPECT_EQ(query(1, 4).words[0], 0u);
    EXPECT_EQ(query(2, 8).words[1], 0u);
    b->status.enable = 1;
    EXPECT_EQ(query(1, 4).words[0], 1u);
    Answer a2 = query(2, 8);
    EXPECT_EQ(a2.words[0], 0u);
    EXPECT_EQ(a2.words[1], 0xE0000000u);
    EXPECT_EQ(query(3, 8).words[1], 0xE1000000u);
}

TEST_F(SharedBlockTest, SecondProcessOpensByNameAndSeesSameBytes) {
    createSharedBlock();
    sharedBlock()->status.enable = 1;
    sharedBlock()->regBase = 0x12345678u;
    int rc = runInChild([] {
        uint32_t words[2] = {};
        if (duvuzGet(2, 8, words) != 8 || words[1] != 0x12345678u) {
            return false;
        }
        sharedBlock()->otherRegBase = 0xCAFE0000u;
        return true;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(sharedBlock()->otherRegBase, 0xCAFE0000u);
}

TEST_F(SharedBlockTest, SectionLivesWhileAnyProcessHoldsIt) {
    // A child creates the section; while it lives, this process opens it by name.
    int rc = runInChild(
        [] {
            createSharedBlock();
            if (sharedBlock() == nullptr) {
                return false;
            }
            sharedBlock()->status.enable = 1;
            sharedBlock()->regBase = 0xE0000000u;
            return true;
        },
        [] {
            EXPECT_EQ(mapSharedBlock(), 1);
            resetSharedBlockForTesting();
        });
    EXPECT_EQ(rc, 0);
    // The creator has ended and this process let go: the section is gone.
    EXPECT_EQ(mapSharedBlock(), 0);
    EXPECT_EQ(query(2, 8).words[1], 0u);
    // A new creation starts from zeros.
    createSharedBlock();
    ASSERT_NE(sharedBlock(), nullptr);
    EXPECT_EQ(sharedBlock()->regBase, 0u);
}

TEST_F(SharedBlockTest, ViewOutlivesClosedHandle) {
    createSharedBlock();
    sharedBlock()->status.enable = 1;
    sharedBlock()->regBase = 0xE0000000u;
    EXPECT_TRUE(closeSharedBlockHandle());
    EXPECT_FALSE(closeSharedBlockHandle());
    EXPECT_EQ(query(2, 8).words[1], 0xE0000000u);
    // The view alone keeps the section for other processes.
    int rc =
        runInChild([] { return mapSharedBlock() == 1 && sharedBlock()->regBase == 0xE0000000u; });
    EXPECT_EQ(rc, 0);
}

TEST_F(SharedBlockTest, CreateTakesExistingSectionWithContents) {
    createSharedBlock();
    sharedBlock()->alternateSetup = 1;
    int rc = runInChild([] {
        createSharedBlock();
        return sharedBlock() != nullptr && sharedBlock()->alternateSetup == 1;
    });
    EXPECT_EQ(rc, 0);
}

using RegisterTest = BoardTest;

TEST_F(RegisterTest, MmioUsesLowSixteenBitsRoundedToWord) {
    duvuzSetMMIO(0x213, 0x11223344u);
    EXPECT_EQ(peek(0x210), 0x11223344u);
    EXPECT_EQ(duvuzGetMMIO(0x10210), 0x11223344u);
    EXPECT_EQ(duvuzGetMMIO(0x10214), peek(0x214));
    duvuzSetMMIO(0xFFFF0100u, 7);
    EXPECT_EQ(peek(0x100), 7u);
}

TEST_F(RegisterTest, EachAccessIsOneBoardAccess) {
    uint64_t before = board().accesses;
    readBoardRegister(0x208);
    writeBoardRegister(0x208, 5);
    EXPECT_EQ(board().accesses, before + 2);
}

TEST_F(RegisterTest, ZeroRegBaseTouchesNothing) {
    writeBoardRegister(0x210, 0x55);
    sharedBlock()->regBase = 0;
    uint64_t before = board().accesses;
    EXPECT_EQ(readBoardRegister(0x210), 0u);
    writeBoardRegister(0x210, 0);
    EXPECT_EQ(duvuzGetMMIO(0x210), 0u);
    EXPECT_EQ(board().accesses, before);
    EXPECT_EQ(peek(0x210), 0x55u);
}

TEST_F(RegisterTest, SecondBoardHasItsOwnWindowAndOpenBusElsewhere) {
    ASSERT_TRUE(sim::createBoard(1, sim::BoardConfig{}));
    writeBoardRegister(0x208, 1);
    sharedBlock()->regBase = sim::kBoardWindowAddress[1];
    writeBoardRegister(0x208, 2);
    EXPECT_EQ(peek(0x208, 0), 1u);
    EXPECT_EQ(peek(0x208, 1), 2u);
    EXPECT_EQ(platform::readRegisterWindow(0x00100000u), 0xFFFFFFFFu);
    ASSERT_TRUE(sim::removeBoard(1));
    EXPECT_EQ(readBoardRegister(0x208), 0xFFFFFFFFu);
}

TEST_F(RegisterTest, BoardIsSharedWithOtherProcesses) {
    int rc = runInChild([] {
        if (mapSharedBlock() != 1) {
            return false;
        }
        duvuzSetMMIO(0x220, 0x02AE0060u);
        return true;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(peek(0x220), 0x02AE0060u);
}

using NamedLockTest = SimRootTest;

TEST_F(NamedLockTest, RecursiveInThreadAndExclusiveAcrossProcesses) {
    {
        platform::NamedLock outer("TestLock", 1000);
        ASSERT_TRUE(outer.held());
        platform::NamedLock inner("TestLock", 0);
        EXPECT_TRUE(inner.held());
    }
    int rc = runInChild(
        [] {
            // Held until the parent has tried.
            return (new platform::NamedLock("TestLock", 1000))->held();
        },
        [] {
            platform::NamedLock other("TestLock", 50);
            EXPECT_FALSE(other.held());
        });
    EXPECT_EQ(rc, 0);
    platform::NamedLock after("TestLock", 0);
    EXPECT_TRUE(after.held());
}

TEST_F(NamedLockTest, HolderThatDiedDoesNotBlock) {
    pid_t pid = fork();
    if (pid == 0) {
        platform::NamedLock lock("TestLock", 1000);
        _exit(lock.held() ? 0 : 1);  // ends without letting go
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    platform::NamedLock lock("TestLock", 0);
    EXPECT_TRUE(lock.held());
}

}  // namespace
}  // namespace vext::test
