#pragma once

#include <optional>
#include <string>

namespace tovali {

// A calendar date and time for the If-Modified-Since line (taken as GMT).
struct HttpDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// What a caller sets on the HTTP client before a request. Defaults are the
// client's own; the configuration download changes some of them.
struct HttpCliConfig {
  std::string URL;
  std::string Proxy;  // empty: connect to the server itself
  std::string ProxyPort = "80";
  std::string Agent = "Mozilla/3.0 (compatible)";
  std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  bool NoCache = false;
  std::string ContentTypePost = "application/x-www-form-urlencoded";
  // Kept for completeness: the client never waits inside its own calls.
  bool MultiThreaded = false;
  std::string Username;
  std::string Password;
  std::string ProxyUsername;
  std::string ProxyPassword;
  std::string Sender;
  std::string Reference;
  std::string Cookie;
  std::optional<HttpDateTime> ModifiedSince;
  std::string ContentRangeBegin;
  std::string ContentRangeEnd;
};

}  // namespace tovali
