#include "models/ProgressFill.h"

#include <gtest/gtest.h>

#include <optional>

namespace tovali {
namespace {

TEST(ProgressFillTest, FollowsTheReportsOfALoadAndEmptiesWhenItHasEnded) {
  struct Case {
    int progress;
    int progress_max;
    std::optional<double> fill;
  };
  const Case cases[] = {
      {0, 100, 0.0},         {25, 100, 0.25},        {100, 100, 1.0}, {150, 100, 1.0},
      {50, 0, std::nullopt}, {50, -3, std::nullopt}, {-1, 100, 0.0},
  };
  for (const Case& c : cases) {
    ProgressFill bar;
    bar.load_started();
    EXPECT_EQ(bar.report(c.progress, c.progress_max), c.fill)
        << c.progress << "/" << c.progress_max;
  }
}

// The browser's reports for a navigation that loads nothing, in the orders
// the engine sends them: the bar stays empty.
TEST(ProgressFillTest, ANavigationThatLoadsNothingLeavesTheBarEmpty) {
  ProgressFill refused;  // a refused link, a silent refusal, a refused Back
  EXPECT_EQ(refused.report(10, 100), std::nullopt);
  EXPECT_EQ(refused.report(100, 100), std::nullopt);
  EXPECT_EQ(refused.fill(), 0.0);

  ProgressFill redirected;  // a redirect to a refused site: the last report comes late
  redirected.load_started();
  EXPECT_EQ(redirected.report(30, 100), 0.3);
  EXPECT_EQ(redirected.load_ended(), 0.0);
  EXPECT_EQ(redirected.report(100, 100), std::nullopt);
  EXPECT_EQ(redirected.fill(), 0.0);

  // The next load fills it again.
  redirected.load_started();
  EXPECT_EQ(redirected.report(60, 100), 0.6);
  EXPECT_EQ(redirected.report(-1, 100), 0.0);
  EXPECT_EQ(redirected.report(100, 100), std::nullopt);
}

}  // namespace
}  // namespace tovali
