// The Windows suites' entry: the backend is initialised once, as the program does at start-up.
// Started with "--child=<mode> <file>", the program instead plays a short part for a test that
// needs a process of its own to end (see backend_exit_test.cpp).

#include <gtest/gtest.h>

#include <string_view>

#include "platform/platform.h"
#include "tests/win/win_test_support.h"

int main(int argc, char** argv) {
  if (argc >= 3 && std::string_view(argv[1]).starts_with("--child="))
    return wintest::RunChild(std::string_view(argv[1]).substr(8), argv[2]);
  testing::InitGoogleTest(&argc, argv);
  Plat_Init();
  return RUN_ALL_TESTS();
}
