// The main of the test programs: the Public Suffix List that every program
// installs at start, then the tests.
#include <gtest/gtest.h>

#include "psl/LibpslSuffixList.h"

int main(int argc, char** argv) {
  tovali::LibpslSuffixList::install();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
