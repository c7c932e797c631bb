#include "models/ConnectionCheck.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

TEST(ConnectionCheck, IntervalMovesTenThenThreeThousandThenTenThousand) {
  ConnectionCheck check;
  check.start();
  EXPECT_EQ(check.interval(), 10);
  auto first = check.tick(false, false);
  EXPECT_EQ(first.next_interval, 3000);
  EXPECT_FALSE(first.show_waiting_message);
  EXPECT_TRUE(first.navigate_probe);
  auto second = check.tick(false, true);
  EXPECT_EQ(second.next_interval, 10000);
  EXPECT_TRUE(second.show_waiting_message);
  EXPECT_FALSE(second.navigate_probe);
  for (int i = 0; i < 3; ++i) {
    auto later = check.tick(false, false);
    EXPECT_EQ(later.next_interval, 10000);
    EXPECT_FALSE(later.show_waiting_message);
    EXPECT_TRUE(later.navigate_probe);
  }
}

TEST(ConnectionCheck, WaitingMessageNotShownOverAnotherMessage) {
  ConnectionCheck check;
  check.start();
  check.tick(true, false);
  EXPECT_FALSE(check.tick(true, false).show_waiting_message);
}

TEST(ConnectionCheck, OnlyTheFirstEndCounts) {
  ConnectionCheck check;
  EXPECT_FALSE(check.end());
  check.start();
  EXPECT_TRUE(check.end());
  EXPECT_FALSE(check.end());
}

TEST(ConnectionCheck, ProbeIsInTheReservedInvalidDomain) {
  const std::string url = ConnectionCheck::kProbeURL;
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  EXPECT_NE(url.find(".invalid/"), std::string::npos);
}

}  // namespace
}  // namespace tovali
