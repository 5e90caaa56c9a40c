// A fresh simulation root that is also the current directory, where the trace file goes, with
// the trace state of a new process; and the trace of a known board.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver/host_records.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {

class TraceDirTest : public SimRootTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Sets "GDBG_LEVEL", or unsets it for nullptr.
    static void setLevel(const char* level);
    // The bytes of "oemdll.txt" in the current directory; empty when there is none.
    static std::string traceFile();
    // What reached the simulated debugger output.
    static std::string debugOutput();

  private:
    std::string previousDir_;
};

// A board whose dump is kKnownBoardTrace.
BoardInfo knownBoard();
// The trace of "duvuzInitMapBoard" with knownBoard(), with "\n" line ends.
extern const char* const kKnownBoardTrace;
// The text with every "\n" as "\r\n".
std::string crlf(const std::string& text);

}  // namespace vext::test
