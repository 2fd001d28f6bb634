// Entry of every unit and integration test program. Death tests run in a
// fresh copy of the program ("threadsafe"), which is how a death-test child
// is told apart: there a fatal error ends the process with exit code 0 as in
// the program, which EXPECT_EXIT checks; anywhere else it exits with 1, so
// an unexpected fatal error fails its test instead of passing silently.
#include <gtest/gtest.h>

#include <string_view>

#include "host/fatal_error.h"

namespace {

bool isDeathTestChild(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).starts_with("--gtest_internal_run_death_test")) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    lumivortex::fatalExitCode = isDeathTestChild(argc, argv) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
