// Test entry: every test starts from a reset headless platform.
#include <gtest/gtest.h>
#include "platform/headless/headless.h"

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  headless::reset();
  return RUN_ALL_TESTS();
}
