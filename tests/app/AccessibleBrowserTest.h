#pragma once

// The shared fixture with the program's accessible objects read over AT-SPI:
// a private session bus started before the program (the test skips when
// dbus-daemon or pyatspi is missing).
#include <memory>
#include <string>

#include "AccessibilityProbe.h"
#include "GuardedBrowserTest.h"

namespace tovali::testing {

class AccessibleBrowserTest : public GuardedBrowserTest {
 protected:
  void SetUp() override {
    if (!AccessibilityProbe::available())
      GTEST_SKIP() << "dbus-daemon or python3-pyatspi is missing";
    GuardedBrowserTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string error;
    m_probe = AccessibilityProbe::start(env(), temp().path(), &error);
    ASSERT_TRUE(m_probe) << error;
  }

  std::unique_ptr<AccessibilityProbe> m_probe;
};

}  // namespace tovali::testing
