#include "policy/ReportedForm.h"

#include <gtest/gtest.h>

namespace tovali {
namespace {

TEST(ReportedForm, WritesAURLAsTheBrowserReportsIt) {
  struct Case {
    const char* url;
    const char* reported;
  };
  const Case cases[] = {
      {"http://host/my menu.html", "http://host/my%20menu.html"},
      {"http://host/m\xC3\xA9.html", "http://host/m%C3%A9.html"},
      {"HTTP://Home.Example.COM", "http://home.example.com/"},
      {"https://Host:443/a", "https://host/a"},
      {"http://host:80/a", "http://host/a"},
      {"http://host:/a", "http://host/a"},
      {"http://127.0.0.1:8470/Tovali/Menu.html", "http://127.0.0.1:8470/Tovali/Menu.html"},
      {"http://User@Host:81", "http://User@host:81/"},
      {"http://[::1]:8080/a b", "http://[::1]:8080/a%20b"},
      {"http://host/a\"<>`{}|b", "http://host/a%22%3C%3E%60%7B%7D|b"},
      {"http://host/p?q=a b&r='x'&s=\xC3\xA9", "http://host/p?q=a%20b&r=%27x%27&s=%C3%A9"},
      {"http://host/p#a b`", "http://host/p#a%20b%60"},
      {"http://host/already%20encoded%c3%a9", "http://host/already%20encoded%c3%a9"},
      {"  http://host/a\tb\nc\r  ", "http://host/abc"},
      {"http://host/a\x7F", "http://host/a%7F"},
      // Other schemes: only the scheme is lower-cased, the host stays.
      {"HTTP001://Zoo.Example/My Page.html", "http001://Zoo.Example/My%20Page.html"},
      {"HTTPNAV://MORESITES", "httpnav://MORESITES"},
      {"file:///opt/tovali/welcome.html", "file:///opt/tovali/welcome.html"},
      {"JavaScript:alert(1)", "javascript:alert(1)"},
      // An IDN host is left alone (the browser would report it punycoded).
      {"http://b\xC3\xBC"
       "cher.example/",
       "http://b\xC3\xBC"
       "cher.example/"},
      // No scheme: nothing to go by.
      {"/opt/tovali/my page.html", "/opt/tovali/my page.html"},
      {"", ""},
      {":x", ":x"},
      {"1http://host/a b", "1http://host/a b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reported_form_of(c.url), c.reported) << c.url;
    EXPECT_EQ(reported_form_of(c.reported), c.reported) << "twice: " << c.url;
  }
}

}  // namespace
}  // namespace tovali
