#include "policy/UrlText.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

struct Case {
  const char* input;
  const char* expected;
};

TEST(UrlTextTest, ExtractDomain) {
  const Case cases[] = {
      {"http://www.example.com/path/page.html", "EXAMPLE.COM"},
      {"http://a.b.example.com", "EXAMPLE.COM"},
      {"http://example.com/", "EXAMPLE.COM"},
      {"http://localhost/", "LOCALHOST"},
      {"http://www.example.com:8080/x", "EXAMPLE.COM:8080"},
      {"http://example.com:8080/", "EXAMPLE.COM:8080"},
      {"http://user@www.example.com/", "EXAMPLE.COM"},
      {"http://user.name@example.com/", "NAME@EXAMPLE.COM"},
      {"http://127.0.0.1:8470/menu.html", "0.1:8470"},
      {"file:///home/kid/page.html", ""},
      {"file://server.example.net/share", "EXAMPLE.NET"},
      {"http://.com/", ".COM"},
      {"http://example./", "EXAMPLE."},
      {"www.example.com/x", "EXAMPLE.COM"},
      {"javascript:void(0)", "JAVASCRIPT:VOID(0)"},
      {"about:blank", "ABOUT:BLANK"},
      {"", ""},
      {"https://Sub.Example.Org/?q=a.b", "EXAMPLE.ORG"},
      {"http://x.example.com?q=1", "EXAMPLE.COM?Q=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractDomain(c.input), c.expected) << c.input;
}

TEST(UrlTextTest, ModifyURL) {
  const Case cases[] = {
      {"HTTP001://www.example.com/", "HTTP://www.example.com/"},
      {"http001://www.example.com/a?b", "http://www.example.com/a?b"},
      {"HTTPNAV://menu.example.com/more.html", "HTTP://menu.example.com/more.html"},
      {"httpnav://MoreSites", "http://MoreSites"},
      {"HTTP://www.example.com/", "HTTP://www.example.com/"},
      {"http://abc://x", "http://abc://x"},
      {"https://www.example.com", "https://www.example.com"},
      {"abcdefg://rest", "abcd://rest"},
      {"HTTP001:/x", "HTTP001:/x"},
      {"HTTP001://", "HTTP://"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ModifyURL(c.input), c.expected) << c.input;
}

TEST(UrlTextTest, LinkNumberOfAMenuLink) {
  const Case cases[] = {
      {"HTTP001://www.example.com/", "001"},
      {"http001://www.example.com/", "001"},
      {"http0a1://www.example.com/", "0a1"},
      {"HTTP://www.example.com/", ""},
      {"hTtP://www.example.com/", ""},
      {"https://www.example.com/", "s:/"},
      {"HTTPNAV://menu", "NAV"},
      {"ftp://example.com/", ""},
      {"javascript:go()", ""},
      {"HTTP", ""},
      {"HTTPx", "x"},
      {"http:", ":"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(url_number_of(c.input), c.expected) << c.input;
}

TEST(UrlTextTest, HostForEndings) {
  const Case cases[] = {
      {"http://www.example.com/x", "WWW.EXAMPLE.COM"},
      {"HTTP://www.example.com:81/x", "WWW.EXAMPLE.COM:81"},
      {"https://www.example.com/x", "HTTPS:"},
      {"www.example.com", "WWW.EXAMPLE.COM"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(host_for_endings(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace tovali
