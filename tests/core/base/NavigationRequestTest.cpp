#include "base/NavigationRequest.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

TEST(SameTarget, MatchesApartFromLetterCaseAndOneFinalSlash) {
  struct Case {
    const char* reported;
    const char* requested;
    bool same;
  };
  const Case cases[] = {
      {"http://zoo.example/", "http://zoo.example/", true},
      {"http://zoo.example/", "HTTP://Zoo.Example", true},
      {"http://zoo.example", "http://zoo.example/", true},
      {"file:///opt/my%20pages/a.html", "FILE:///opt/my%20pages/A.HTML", true},
      {"http://zoo.example//", "http://zoo.example", false},
      {"http://zoo.example/a", "http://zoo.example/b", false},
      {"http://zoo.example/a b", "http://zoo.example/a%20b", false},
      {"", "", true},
      {"/", "", true},
      {"http://zoo.example/", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(same_target(c.reported, c.requested), c.same) << c.reported << " | " << c.requested;
}

TEST(NavigationRequest, DefaultsToThePagesOwnRequestOfTheMainFrame) {
  const NavigationRequest request{"http://zoo.example/"};
  EXPECT_EQ(request.origin, RequestOrigin::Page);
  EXPECT_EQ(request.kind, NavigationKind::Request);
  EXPECT_EQ(request.target, BrowserTarget::MainFrame);
}

}  // namespace
}  // namespace tovali
