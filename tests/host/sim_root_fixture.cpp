#include "tests/host/sim_root_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "platform/sim/simroot.h"

namespace vext::test {

void SimRootTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vext-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv(sim::kSimRootVariable, root_.c_str(), 1);
}

void SimRootTest::TearDown() {
    unsetenv(sim::kSimRootVariable);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

}  // namespace vext::test
