// A fresh simulation root for each test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vext::test {

class SimRootTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

}  // namespace vext::test
