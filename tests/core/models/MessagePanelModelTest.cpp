#include "models/MessagePanelModel.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tovali {
namespace {

std::vector<std::pair<int, int>> grow_to_full(MessagePanelModel& panel) {
  std::vector<std::pair<int, int>> sizes;
  while (panel.size_timer()) {
    EXPECT_FALSE(panel.label_visible());
    panel.size_tick();
    sizes.emplace_back(panel.width(), panel.height());
  }
  return sizes;
}

TEST(MessagePanel, GrowsFromNothingToFullWidthInSixTicksThenShowsText) {
  MessagePanelModel panel;
  panel.show("Hello");
  EXPECT_TRUE(panel.visible());
  EXPECT_EQ(panel.width(), 0);
  EXPECT_EQ(panel.height(), 0);
  EXPECT_TRUE(panel.stay_timer());
  const auto sizes = grow_to_full(panel);
  const std::vector<std::pair<int, int>> expected = {{50, 37},   {100, 74},  {150, 111},
                                                     {200, 148}, {250, 185}, {300, 222}};
  EXPECT_EQ(sizes, expected);
  EXPECT_TRUE(panel.label_visible());
  EXPECT_EQ(panel.text(), "Hello");
}

TEST(MessagePanel, StayTimeOverShrinksInThreeTicksAndHides) {
  MessagePanelModel panel;
  panel.show("Hello");
  grow_to_full(panel);
  panel.stay_timer_fired();
  EXPECT_FALSE(panel.stay_timer());
  EXPECT_FALSE(panel.label_visible());
  EXPECT_TRUE(panel.hide_timer());
  std::vector<std::pair<int, int>> sizes;
  while (panel.hide_timer()) {
    panel.hide_tick();
    sizes.emplace_back(panel.width(), panel.height());
  }
  const std::vector<std::pair<int, int>> expected = {{200, 185}, {100, 148}, {0, 111}};
  EXPECT_EQ(sizes, expected);
  EXPECT_FALSE(panel.visible());
}

TEST(MessagePanel, SecondMessageCollapsesAndRestartsWithNewText) {
  MessagePanelModel panel;
  panel.show("first");
  grow_to_full(panel);
  panel.show("second");
  EXPECT_EQ(panel.width(), 0);
  EXPECT_FALSE(panel.label_visible());
  EXPECT_TRUE(panel.size_timer());
  EXPECT_TRUE(panel.stay_timer());
  EXPECT_EQ(panel.text(), "second");
}

TEST(MessagePanel, MessageDuringShrinkIsSeen) {
  MessagePanelModel panel;
  panel.show("first");
  grow_to_full(panel);
  panel.hide();
  panel.hide_tick();
  panel.show("second");
  EXPECT_FALSE(panel.hide_timer());
  grow_to_full(panel);
  EXPECT_TRUE(panel.visible());
  EXPECT_TRUE(panel.label_visible());
  EXPECT_EQ(panel.width(), 300);
}

TEST(MessagePanel, ClickDuringGrowthEndsHiddenWhileGrowthStepsRunOut) {
  MessagePanelModel panel;
  panel.show("x");
  panel.size_tick();
  panel.size_tick();  // 100 wide
  panel.hide();
  while (panel.size_timer() || panel.hide_timer()) {
    if (panel.size_timer()) panel.size_tick();
    if (panel.hide_timer()) panel.hide_tick();
  }
  EXPECT_FALSE(panel.visible());
  EXPECT_EQ(panel.width(), 300);
}

TEST(MessagePanel, HideOfAHiddenPanelHasNoVisibleEffect) {
  MessagePanelModel panel;
  panel.hide();
  panel.hide_tick();
  EXPECT_FALSE(panel.visible());
  EXPECT_FALSE(panel.hide_timer());
}

TEST(MessagePanel, StayTimerCanBeHeldOffUntilTheNextMessage) {
  MessagePanelModel panel;
  panel.show("wait");
  panel.set_stay_timer(false);
  EXPECT_FALSE(panel.stay_timer());
  panel.show("next");
  EXPECT_TRUE(panel.stay_timer());
}

TEST(MessagePanel, LocateCentresAndTruncates) {
  MessagePanelModel panel;
  EXPECT_EQ(panel.locate(1024, 768).left, 512);
  EXPECT_EQ(panel.locate(1024, 768).top, 384);
  panel.show("x");
  panel.size_tick();                            // 50 x 37
  EXPECT_EQ(panel.locate(641, 480).left, 295);  // 320.5 - 25
  EXPECT_EQ(panel.locate(641, 480).top, 221);   // 240 - 18.5
}

// The about panel (353 by 218) is centred the same way: an odd size puts
// it half a pixel to the left, and the whole part is taken.
TEST(CentreInWindow, TruncatesTheExactCentre) {
  const struct {
    int window_width, window_height, width, height, left, top;
  } cases[] = {
      {1280, 800, 353, 218, 463, 291},  // 640 - 176.5, 400 - 109
      {1024, 768, 353, 218, 335, 275},  // 512 - 176.5, 384 - 109
      {1281, 801, 300, 222, 490, 289},  // 640.5 - 150, 400.5 - 111
      {200, 100, 353, 218, -76, -59},   // a window smaller than the panel
  };
  for (const auto& c : cases) {
    const PanelPlace place = centre_in_window(c.window_width, c.window_height, c.width, c.height);
    EXPECT_EQ(place.left, c.left) << c.window_width << "x" << c.window_height;
    EXPECT_EQ(place.top, c.top) << c.window_width << "x" << c.window_height;
  }
}

TEST(MessagePanel, CarriageReturnsBecomeLineBreaks) {
  EXPECT_EQ(message_lines("\r\rPrinting..."), "\n\nPrinting...");
  EXPECT_EQ(message_lines("a\rb"), "a\nb");
}

}  // namespace
}  // namespace tovali
