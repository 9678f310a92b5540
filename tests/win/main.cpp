// The Windows suites' entry: the backend is initialised once, as the program does at start-up.

#include <gtest/gtest.h>

#include "platform/platform.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Plat_Init();
  return RUN_ALL_TESTS();
}
