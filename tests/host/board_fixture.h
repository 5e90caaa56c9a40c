// A fresh simulation root with the driver's per-process state dropped, for the tests of the
// shared block, the bus and the encoder.
#pragma once

#include <unistd.h>

#include <functional>

#include "driver/shared_block.h"
#include "platform/sim/board.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {

class DriverStateTest : public SimRootTest {
  protected:
    void SetUp() override {
        SimRootTest::SetUp();
        resetSharedBlockForTesting();
    }
    void TearDown() override {
        resetSharedBlockForTesting();
        SimRootTest::TearDown();
    }
};

// One board with its encoder, the section created and regBase on the board's window.
class BoardTest : public DriverStateTest {
  protected:
    void SetUp() override {
        DriverStateTest::SetUp();
        ASSERT_TRUE(sim::createBoard(0, sim::BoardConfig{}));
        createSharedBlock();
        ASSERT_NE(sharedBlock(), nullptr);
        sharedBlock()->regBase = sim::kBoardWindowAddress[0];
    }

    sim::BoardSnapshot board(int index = 0) {
        sim::BoardSnapshot s;
        EXPECT_TRUE(sim::readBoard(index, &s));
        return s;
    }

    uint32_t peek(uint32_t offset, int index = 0) {
        uint32_t v = 0;
        EXPECT_TRUE(sim::peekBoardRegister(index, offset, &v));
        return v;
    }
};

// Runs body in a child process and returns its exit status (0 when body returned true). The
// child drops the driver state that it inherited, so it starts like a process that has just
// loaded the driver. After body, the child stays alive, holding whatever it opened, until
// whileChildHolds has run in the parent.
int runInChild(const std::function<bool()>& body,
               const std::function<void()>& whileChildHolds = {});

}  // namespace vext::test
