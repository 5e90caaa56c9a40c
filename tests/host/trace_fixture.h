// The trace's surroundings for a test: a current directory for the trace file and the trace
// state of a new process; and the trace of a known board.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/host_records.h"
#include "tests/host/sim_root_fixture.h"

namespace vext::test {

// Makes dir the current directory, with "GDBG_LEVEL" unset and no trace state, for its lifetime.
class InTraceDir {
  public:
    explicit InTraceDir(const std::string& dir);
    ~InTraceDir();
    InTraceDir(const InTraceDir&) = delete;
    InTraceDir& operator=(const InTraceDir&) = delete;

  private:
    std::string previousDir_;
};

// A fresh simulation root that is also the current directory.
class TraceDirTest : public SimRootTest {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::unique_ptr<InTraceDir> dir_;
};

// Sets "GDBG_LEVEL", or unsets it for nullptr.
void setTraceLevel(const char* level);
// The bytes of "oemdll.txt" in the current directory; empty when there is none.
std::string traceFileText();
// What reached the simulated debugger output of the current simulation root.
std::string debugOutputText();

// A board whose dump is kKnownBoardTrace.
BoardInfo knownBoard();
// The trace of "duvuzInitMapBoard" with knownBoard(), with "\n" line ends.
extern const char* const kKnownBoardTrace;
// The text with every "\n" as "\r\n".
std::string crlf(const std::string& text);

}  // namespace vext::test
