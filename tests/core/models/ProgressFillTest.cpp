#include "models/ProgressFill.h"

#include <gtest/gtest.h>

#include <optional>

namespace tovali {
namespace {

TEST(ProgressFillTest, FollowsTheReportsAndEmptiesWhenTheLoadHasEnded) {
  struct Case {
    int progress;
    int progress_max;
    std::optional<double> fill;
  };
  const Case cases[] = {
      {0, 100, 0.0},  {25, 100, 0.25}, {100, 100, 1.0},       {150, 100, 1.0},
      {-1, 100, 0.0}, {-1, 0, 0.0},    {50, 0, std::nullopt}, {50, -3, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgressFill(c.progress, c.progress_max), c.fill)
        << c.progress << "/" << c.progress_max;
}

}  // namespace
}  // namespace tovali
