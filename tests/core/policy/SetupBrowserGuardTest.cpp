#include "policy/SetupBrowserGuard.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

TEST(SetupBrowserGuardTest, KeepsToItsLocalPagesAndTheFeedbackSite) {
  const SetupBrowserGuard guard(
      {"file:///opt/tovali/setuphelp/setuphelp.html", "file:///opt/tovali/error.html"},
      "http://www.maker.example/tovali/feedback");
  const struct {
    const char* url;
    Verdict verdict;
  } cases[] = {
      {"file:///opt/tovali/setuphelp/setuphelp.html", Verdict::Proceed},
      {"file:///opt/tovali/setuphelp/setuphelp.html#general", Verdict::Proceed},
      {"file:///opt/tovali/error.html", Verdict::Proceed},
      {"http://www.maker.example/tovali/feedback", Verdict::Proceed},
      {"https://forms.maker.example/send?x=1", Verdict::Proceed},
      {"http://www.maker.example.net/", Verdict::Cancel},
      {"http://www.other.example/", Verdict::Cancel},
      {"file:///etc/passwd", Verdict::Cancel},
      {"file:///opt/tovali/help.html", Verdict::Cancel},
      {"view-source:http://www.maker.example/", Verdict::Cancel},
      {"data:text/html,http://www.maker.example/", Verdict::Cancel},
      {"about:blank", Verdict::Cancel},
  };
  for (const auto& c : cases) EXPECT_EQ(guard.BeforeNavigate2(c.url), c.verdict) << c.url;
}

}  // namespace
}  // namespace tovali
