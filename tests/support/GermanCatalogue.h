#pragma once

#include <libintl.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "base/Translate.h"

namespace tovali::testing {

// A test in a German session: the build tree's catalogue (the test binary's
// TOVALI_TEST_LOCALE_DIR) as a session with LANGUAGE=de sees it; English
// again after the test.
class GermanCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
    setenv("LANGUAGE", "de", 1);
    bindtextdomain(kTextDomain, TOVALI_TEST_LOCALE_DIR);
    bind_textdomain_codeset(kTextDomain, "UTF-8");
  }
  void TearDown() override {
    unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, "C");
  }
};

}  // namespace tovali::testing
