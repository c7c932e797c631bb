// The pure parts of the HTTP client: URL rules, request bytes, response
// parsing, relocation targets, error texts, and the state machine over a
// scripted socket.

#include <gtest/gtest.h>

#include <cerrno>

#include "ScriptedSocket.h"
#include "net/Base64.h"
#include "net/HttpCli.h"
#include "net/HttpException.h"
#include "net/HttpRequest.h"
#include "net/HttpResponse.h"
#include "net/HttpUrl.h"
#include "net/MainLoopPoster.h"
#include "net/ReceiveBuffer.h"
#include "net/SocketErrors.h"

namespace tovali {
namespace {

struct UrlCase {
  const char* url;
  HttpUrlParts parts;
};

TEST(HttpUrl, SplitsByTheUrlRules) {
  const UrlCase cases[] = {
      {"http://example.org/a/b.html", {"http", "", "", "example.org", "", "/a/b.html"}},
      {"http://example.org:8080/x", {"http", "", "", "example.org", "8080", "/x"}},
      {"http://example.org", {"http", "", "", "example.org", "", ""}},
      {"http://ann:se:cret@host:81/p", {"http", "ann", "se:cret", "host", "81", "/p"}},
      {"http://a@b@host/p", {"http", "a@b", "", "host", "", "/p"}},
      {"ftp://host/p:q", {"ftp", "", "", "host", "", "/p:q"}},
      {"/only/path", {"http", "", "", "", "", "/only/path"}},
      {"HTTP:/x", {"http", "", "", "", "", "/x"}},
      {"host.example:99/doc", {"", "", "", "host.example", "99", "/doc"}},
      {"", {"", "", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    const HttpUrlParts got = split_http_url(c.url);
    EXPECT_EQ(got.scheme, c.parts.scheme) << c.url;
    EXPECT_EQ(got.user, c.parts.user) << c.url;
    EXPECT_EQ(got.password, c.parts.password) << c.url;
    EXPECT_EQ(got.host, c.parts.host) << c.url;
    EXPECT_EQ(got.port, c.parts.port) << c.url;
    EXPECT_EQ(got.path, c.parts.path) << c.url;
  }
}

TEST(HttpUrl, DottedAddressesAndPorts) {
  EXPECT_TRUE(is_dotted_ipv4("127.0.0.1"));
  EXPECT_TRUE(is_dotted_ipv4("255.255.255.255"));
  for (const char* not_dotted : {"256.0.0.1", "1.2.3", "1.2.3.4.5", "localhost", "1..2.3", ""}) {
    EXPECT_FALSE(is_dotted_ipv4(not_dotted)) << not_dotted;
  }
  EXPECT_EQ(parse_port("8080"), 8080);
  for (const char* bad : {"", "0", "65536", "80x", "-1", " 80"})
    EXPECT_EQ(parse_port(bad), 0) << bad;
}

TEST(Base64, EncodesWithPadding) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"Aladdin:open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="}};
  for (const auto& [in, out] : cases) EXPECT_EQ(base64_encode(in), out) << in;
}

// The weekday comes from the date itself; dates no calendar holds (a
// negative year or day) still name a day of the week.
TEST(HttpRequest, DateOfTheModifiedSinceLine) {
  const struct {
    HttpDateTime when;
    const char* text;
  } cases[] = {
      {{2026, 12, 10, 8, 5, 3}, "Thu, 10 Dec 2026 08:05:03"},
      {{2000, 2, 29, 23, 59, 59}, "Tue, 29 Feb 2000 23:59:59"},
      {{1970, 1, 1, 0, 0, 0}, "Thu, 01 Jan 1970 00:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_http_date(c.when), c.text);
  for (const HttpDateTime odd :
       {HttpDateTime{-1, 1, 1, 0, 0, 0}, HttpDateTime{2026, 1, -30, 0, 0, 0},
        HttpDateTime{-400, 3, -1, 0, 0, 0}}) {
    const std::string text = format_http_date(odd);
    const std::string day = text.substr(0, 3);
    EXPECT_NE(std::string("MonTueWedThuFriSatSun").find(day), std::string::npos) << text;
  }
}

TEST(HttpRequest, EveryOptionalLineInItsPlace) {
  HttpCliConfig config;
  config.URL = "http://ann:pw@site.example:8080/doc?x=1";
  config.Sender = "me@example.org";
  config.Reference = "http://ref/";
  config.NoCache = true;
  config.ModifiedSince = HttpDateTime{2026, 12, 10, 8, 5, 3};
  config.Proxy = "proxy.example";
  config.ProxyPort = "3128";
  config.ProxyUsername = "pu";
  config.ProxyPassword = "pp";
  config.Cookie = "a=b";
  config.ContentRangeBegin = "10";
  const HttpTarget target = make_http_target(config);
  EXPECT_EQ(target.ConnectHost, "proxy.example");
  EXPECT_EQ(target.ConnectPort, "3128");
  EXPECT_EQ(target.TargetHost, "site.example");
  EXPECT_EQ(build_get_request(config, target),
            "GET http://site.example:8080/doc?x=1 HTTP/1.0\r\n"
            "From: me@example.org\r\n"
            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
            "Referer: http://ref/\r\n"
            "User-Agent: Mozilla/3.0 (compatible)\r\n"
            "Host: site.example\r\n"
            "Pragma: no-cache\r\n"
            "If-Modified-Since: Thu, 10 Dec 2026 08:05:03 GMT\r\n"
            "Authorization: Basic " +
                base64_encode("ann:pw") +
                "\r\n"
                "Proxy-Authorization: Basic " +
                base64_encode("pu:pp") +
                "\r\n"
                "Cookie: a=b\r\n"
                "Range: bytes=10-\r\n"
                "\r\n");
  EXPECT_EQ(config.ContentRangeBegin, "");  // cleared after sending
  EXPECT_EQ(config.Username, "ann");
}

TEST(HttpRequest, TargetsDirectAndThroughProxy) {
  struct Case {
    const char* url;
    const char* proxy;
    const char* connect_host;
    const char* connect_port;
    const char* request_path;
  };
  const Case cases[] = {
      {"http://h.example", "", "h.example", "80", "/"},
      {"http://h.example:81/a", "", "h.example", "81", "/a"},
      {"http://h.example/a", "px", "px", "8000", "http://h.example/a"},
      {"http://h.example:81", "px:9", "px", "9", "http://h.example:81"},
      {"h.example/a", "px", "px", "8000", "http://h.example/a"},
      {"https://h.example/a", "", "h.example", "443", "/a"},
      {"HTTPS://h.example:8443", "", "h.example", "8443", "/"},
      // Through a tunnel the server itself reads the request line.
      {"https://h.example/a", "px", "px", "8000", "/a"},
  };
  for (const auto& c : cases) {
    HttpCliConfig config;
    config.URL = c.url;
    config.Proxy = c.proxy;
    config.ProxyPort = "8000";
    const HttpTarget t = make_http_target(config);
    EXPECT_EQ(t.ConnectHost, c.connect_host) << c.url;
    EXPECT_EQ(t.ConnectPort, c.connect_port) << c.url;
    EXPECT_EQ(t.RequestPath, c.request_path) << c.url;
  }
}

TEST(HttpRequest, RelocationTargets) {
  struct Case {
    const char* url;
    const char* proxy;
    const char* location;
    const char* connect_host;
    const char* connect_port;
    const char* target_host;
    const char* request_path;
  };
  const Case cases[] = {
      {"http://a.example:81/x", "", "/y", "a.example", "81", "a.example", "/y"},
      {"http://a.example:81/x", "", "http://b.example:82/z", "b.example", "82", "b.example", "/z"},
      {"http://a.example:81/x", "", "http://b.example", "b.example", "80", "b.example", "/"},
      {"http://a.example:81/x", "px", "/y", "px", "3128", "a.example", "http://a.example:81/y"},
      {"http://a.example/x", "px", "http://b.example:82/z", "px", "3128", "b.example",
       "http://b.example:82/z"},
      {"https://a.example/x", "", "/y", "a.example", "443", "a.example", "/y"},
      {"https://a.example/x", "", "https://b.example/z", "b.example", "443", "b.example", "/z"},
      {"http://a.example/x", "", "https://b.example/z", "b.example", "443", "b.example", "/z"},
      {"http://a.example/x", "px", "https://b.example:8443/z", "px", "3128", "b.example", "/z"},
  };
  for (const auto& c : cases) {
    HttpCliConfig config;
    config.URL = c.url;
    config.Proxy = c.proxy;
    config.ProxyPort = "3128";
    HttpTarget t = make_http_target(config);
    apply_relocation(t, c.location);
    EXPECT_EQ(t.ConnectHost, c.connect_host) << c.location;
    EXPECT_EQ(t.ConnectPort, c.connect_port) << c.location;
    EXPECT_EQ(t.TargetHost, c.target_host) << c.location;
    EXPECT_EQ(t.RequestPath, c.request_path) << c.location;
  }
}

TEST(HttpRequest, TheTunnelRequestCarriesTheProxyCredentialsAndTheGetDoesNot) {
  HttpCliConfig config;
  config.URL = "https://site.example/doc";
  config.Proxy = "proxy.example:3128";
  config.ProxyUsername = "pu";
  config.ProxyPassword = "pp";
  const HttpTarget target = make_http_target(config);
  EXPECT_EQ(target.transport, HttpTransport::Tls);
  EXPECT_EQ(tunnel_authority(target), "site.example:443");
  EXPECT_EQ(build_connect_request(config, target),
            "CONNECT site.example:443 HTTP/1.0\r\n"
            "User-Agent: Mozilla/3.0 (compatible)\r\n"
            "Host: site.example:443\r\n"
            "Proxy-Authorization: Basic " +
                base64_encode("pu:pp") + "\r\n\r\n");
  const std::string get = build_get_request(config, target);
  EXPECT_EQ(get.substr(0, get.find("\r\n")), "GET /doc HTTP/1.0");
  EXPECT_EQ(get.find("Proxy-Authorization"), std::string::npos);
  EXPECT_NE(get.find("\r\nHost: site.example\r\n"), std::string::npos);
}

TEST(HttpRequest, ARelocationMayNotLeaveTls) {
  struct Case {
    const char* url;
    const char* location;
    bool downgrade;
  };
  const Case cases[] = {
      {"https://a.example/x", "http://a.example/x", true},
      {"https://a.example/x", "HTTP://b.example/", true},
      {"https://a.example/x", "ftp://b.example/", true},
      {"https://a.example/x", "b.example/z", true},  // no scheme is no TLS
      {"https://a.example/x", "https://b.example/z", false},
      {"https://a.example/x", "HTTPS://b.example/z", false},
      {"https://a.example/x", "/same/server", false},
      {"http://a.example/x", "http://b.example/", false},
      {"http://a.example/x", "https://b.example/", false},
  };
  for (const auto& c : cases) {
    HttpCliConfig config;
    config.URL = c.url;
    EXPECT_EQ(is_tls_downgrade(make_http_target(config), c.location), c.downgrade)
        << c.url << " -> " << c.location;
  }
}

TEST(HttpResponse, StatusLinesAndFields) {
  EXPECT_TRUE(is_status_line("HTTP/1.1 200 OK"));
  EXPECT_FALSE(is_status_line("HTTP/2 200 OK"));
  EXPECT_EQ(parse_status_code("HTTP/1.0 404 Not Found"), 404);
  EXPECT_EQ(parse_reason_phrase("HTTP/1.0 404 Not Found"), "Not Found");
  EXPECT_EQ(parse_reason_phrase("HTTP/1.0 200"), "");
  for (const char* bad : {"HTTP/1.0 2x0 OK", "HTTP/1.0", "HTTP/1.0 ", "HTTP/1.0 -12 X"}) {
    EXPECT_FALSE(parse_status_code(bad).has_value()) << bad;
  }
  const auto field = split_header_field("Content-TYPE:   Text/HTML; Charset=X");
  ASSERT_TRUE(field);
  EXPECT_EQ(field->name, "content-type");
  EXPECT_EQ(field->value, "Text/HTML; Charset=X");
  EXPECT_FALSE(split_header_field("no colon here"));
  EXPECT_EQ(parse_content_length(" 42 "), 42);
  for (const char* bad : {"", "4 2", "-1", "12abc", "99999999999999999999"}) {
    EXPECT_FALSE(parse_content_length(bad).has_value()) << bad;
  }
  EXPECT_TRUE(is_headerless_html("<html><body>"));
}

TEST(ReceiveBuffer, SplitsCrLfAndBareLfAndBoundsItsSize) {
  ReceiveBuffer buffer;
  EXPECT_EQ(buffer.append("one\r\ntwo\nthree\r"), 15u);
  EXPECT_EQ(buffer.take_line(), "one");
  EXPECT_EQ(buffer.take_line(), "two");
  EXPECT_EQ(buffer.take_line(), std::nullopt);
  EXPECT_EQ(buffer.append("\n"), 1u);
  EXPECT_EQ(buffer.take_line(), "three");
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(buffer.append(std::string(9000, 'x')), ReceiveBuffer::kCapacity);
  EXPECT_TRUE(buffer.full());
  EXPECT_EQ(buffer.free_space(), 0u);
}

TEST(SocketErrors, DescriptionsFromPlatformErrors) {
  const std::tuple<int, int, const char*> cases[] = {
      {0, 0, "No Error"},
      {ECONNREFUSED, 10061, "Connection refused"},
      {ECONNRESET, 10054, "Connection reset by peer"},
      {ETIMEDOUT, 10060, "Connection timed out"},
      {EHOSTUNREACH, 10065, "No route to host"},
      {ENETUNREACH, 10051, "Network is unreachable"},
      {EWOULDBLOCK, 10035, "Operation would block"},
      {EIO, EIO, "Not a WinSock error"},
  };
  for (const auto& [error_number, code, text] : cases) {
    EXPECT_EQ(socket_error_code_from_errno(error_number), code) << error_number;
    EXPECT_EQ(socket_error_description(code), text) << error_number;
  }
  EXPECT_EQ(socket_error_description(11001), "Host not found");
  EXPECT_EQ(socket_error_description(11004), "No Data");
  EXPECT_EQ(socket_error_description(10000), "Not a WinSock error");
}

TEST(HttpCliStateMachine, ALookupThatCannotStartEndsTheRequestAsFailed) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  socket.refuse_lookup = true;
  cli.config().URL = "http://name.example/x";
  EXPECT_NO_THROW(cli.StartGet());
  EXPECT_EQ(cli.StatusCode(), 404);
  EXPECT_EQ(cli.ReasonPhrase(), "can't resolve hostname to IP address");
  EXPECT_NE(cli.State(), HttpState::Ready);  // only after the posted notice
  poster.run_all();
  EXPECT_EQ(cli.State(), HttpState::Ready);
}

TEST(HttpCliStateMachine, BusyWhileARequestRunsAndTheRequestGoesOn) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  cli.config().URL = "http://name.example/x";
  cli.StartGet();
  try {
    cli.StartGet();
    FAIL() << "no exception";
  } catch (const EHttpException& e) {
    EXPECT_EQ(e.ErrorCode(), 1);
    EXPECT_STREQ(e.what(), "HTTP component is busy");
  }
  EXPECT_EQ(cli.State(), HttpState::LookingUpHost);
  EXPECT_EQ(socket.lookups, std::vector<std::string>{"name.example"});
  socket.listener->socket_lookup_done(0, "10.0.0.7");
  EXPECT_EQ(socket.connects, std::vector<std::string>{"10.0.0.7:80"});
  EXPECT_EQ(cli.State(), HttpState::HostFound);
}

TEST(HttpCliStateMachine, ReadsNeverAskForMoreThanTheBufferHolds) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  cli.config().URL = "http://10.1.2.3:8080/x";
  cli.StartGet();
  EXPECT_TRUE(socket.lookups.empty());  // a dotted address needs no lookup
  socket.listener->socket_connected(0);
  socket.listener->socket_data("HTTP/1.0 200 OK\r\nX-Half: ab");
  ASSERT_EQ(socket.reads.size(), 2u);
  EXPECT_EQ(socket.reads[0], 8192u);
  EXPECT_EQ(socket.reads[1], 8192u - 10u);  // "X-Half: ab" waits for the rest of its line
}

TEST(HttpCliStateMachine, AbortDuringTheLookupIsReadyAtOnce) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  cli.config().URL = "http://name.example/x";
  cli.StartGet();
  cli.Abort();
  EXPECT_EQ(cli.State(), HttpState::Ready);
  EXPECT_EQ(cli.StatusCode(), 404);
  EXPECT_EQ(cli.ReasonPhrase(), "Connection aborted on request");
  EXPECT_EQ(cli.request_done_error(), 3);
  EXPECT_EQ(socket.cancels, 1);
  socket.listener->socket_lookup_done(0, "10.0.0.7");  // too late: ignored
  EXPECT_TRUE(socket.connects.empty());
  poster.run_all();
  EXPECT_EQ(cli.State(), HttpState::Ready);
}

TEST(HttpCliStateMachine, HttpsSendsTheRequestOnlyOverTheSecuredConnection) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  cli.config().URL = "https://10.1.2.3/doc";
  cli.StartGet();
  EXPECT_EQ(socket.connects, std::vector<std::string>{"10.1.2.3:443"});
  socket.listener->socket_connected(0);
  EXPECT_EQ(socket.tls_starts, std::vector<std::string>{"10.1.2.3:443"});
  EXPECT_EQ(socket.sent, "");
  EXPECT_EQ(cli.State(), HttpState::Connected);
  socket.listener->socket_secured("");
  EXPECT_EQ(socket.sent.substr(0, socket.sent.find("\r\n")), "GET /doc HTTP/1.0");
  EXPECT_EQ(cli.State(), HttpState::AwaitingHeader);
  socket.listener->socket_data("HTTP/1.0 200 OK\r\n\r\nbody");
  socket.listener->socket_closed(0);
  poster.run_all();
  EXPECT_EQ(cli.StatusCode(), 200);
  EXPECT_FALSE(cli.security_failure());
}

TEST(HttpCliStateMachine, SecureConnectionFailuresFailTheRequest) {
  struct Case {
    const char* name;
    const char* proxy;
    std::vector<std::string> steps;  // "secured:PROBLEM", "data:BYTES" or "closed"
    const char* reason;
    bool security_failure;
  };
  const Case cases[] = {
      {"a refused certificate",
       "",
       {"secured:the certificate's issuer is not trusted"},
       "Secure connection to site.example failed: the certificate's issuer is not trusted",
       true},
      {"a relocation to http://",
       "",
       {"secured:", "data:HTTP/1.0 302 Found\r\nLocation: http://site.example/doc\r\n\r\n"},
       "Refused to follow a relocation from https:// to http://site.example/doc",
       true},
      {"a proxy that refuses the tunnel",
       "px",
       {"data:HTTP/1.0 403 Forbidden\r\n\r\n"},
       "The proxy refused the tunnel: HTTP/1.0 403 Forbidden",
       true},
      {"a proxy that talks before the handshake",
       "px",
       {"data:HTTP/1.0 200 OK\r\n\r\nHTTP/1.0 200 OK\r\n"},
       "The proxy sent data before the secure connection was set up",
       true},
      {"a proxy that hangs up",
       "px",
       {"data:HTTP/1.0 200 Connection established\r\n", "closed"},
       "Connection closed before the secure connection was set up",
       false},
  };
  for (const Case& c : cases) {
    ScriptedSocket socket;
    QueuePoster poster;
    HttpCli cli(socket, poster);
    cli.config().URL = "https://site.example/doc";
    cli.config().Proxy = c.proxy;
    cli.StartGet();
    socket.listener->socket_lookup_done(0, "10.0.0.7");
    socket.listener->socket_connected(0);
    for (const std::string& step : c.steps) {
      if (step.rfind("secured:", 0) == 0) socket.listener->socket_secured(step.substr(8));
      if (step.rfind("data:", 0) == 0) socket.listener->socket_data(step.substr(5));
      if (step == "closed") socket.listener->socket_closed(0);
    }
    poster.run_all();
    EXPECT_EQ(cli.State(), HttpState::Ready) << c.name;
    EXPECT_EQ(cli.StatusCode(), 404) << c.name;
    EXPECT_EQ(cli.ReasonPhrase(), c.reason) << c.name;
    EXPECT_EQ(cli.security_failure(), c.security_failure) << c.name;
    EXPECT_EQ(socket.lookups.size(), 1u) << c.name;  // nothing followed
  }
}

TEST(HttpCliStateMachine, ThroughAProxyTheTunnelOpensBeforeTheHandshake) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  cli.config().URL = "https://site.example:8443/doc";
  cli.config().Proxy = "proxy.example";
  cli.config().ProxyPort = "3128";
  cli.StartGet();
  EXPECT_EQ(socket.lookups, std::vector<std::string>{"proxy.example"});
  socket.listener->socket_lookup_done(0, "10.0.0.9");
  socket.listener->socket_connected(0);
  EXPECT_EQ(socket.connects, std::vector<std::string>{"10.0.0.9:3128"});
  EXPECT_EQ(socket.sent.substr(0, socket.sent.find("\r\n")), "CONNECT site.example:8443 HTTP/1.0");
  socket.sent.clear();
  // The answer arrives in pieces; the handshake waits for its empty line.
  socket.listener->socket_data("HTTP/1.1 200 Connection established\r\nVia: p");
  socket.listener->socket_data("x\r\n");
  EXPECT_TRUE(socket.tls_starts.empty());
  socket.listener->socket_data("\r\n");
  EXPECT_EQ(socket.tls_starts, std::vector<std::string>{"site.example:8443"});
  EXPECT_EQ(socket.sent, "");
  socket.listener->socket_secured("");
  EXPECT_EQ(socket.sent.substr(0, socket.sent.find("\r\n")), "GET /doc HTTP/1.0");
}

// HttpCli::kMaxHeaderBytes, written out so that the tests also run against a
// client without the bound.
constexpr std::size_t kHeaderBound = 65536;

// A server that sends header lines without end: the client stops reading at
// the bound on the header block, and what it keeps stays below that bound.
TEST(HttpCliStateMachine, EndlessHeaderLinesFailTheRequestAtTheBound) {
  struct Case {
    const char* name;
    const char* url;
    const char* proxy;
    std::string first_line;
  };
  const std::vector<Case> cases = {
      {"response header", "http://10.1.2.3/x", "", "HTTP/1.0 200 OK\r\n"},
      {"proxy's answer to CONNECT", "https://site.example/x", "10.0.0.9",
       "HTTP/1.1 200 Connection established\r\n"},
  };
  const std::string line = "X-More: " + std::string(90, 'm') + "\r\n";
  for (const Case& c : cases) {
    ScriptedSocket socket;
    QueuePoster poster;
    HttpCli cli(socket, poster);
    cli.config().URL = c.url;
    cli.config().Proxy = c.proxy;
    cli.StartGet();
    socket.listener->socket_connected(0);
    socket.listener->socket_data(c.first_line);
    std::size_t sent = c.first_line.size();
    // Feed until the client stops asking for more; far more than the bound
    // is offered so that a missing bound shows as a client still reading.
    while (cli.StatusCode() != 404 && sent < 4 * kHeaderBound) {
      socket.listener->socket_data(line);
      sent += line.size();
    }
    EXPECT_EQ(cli.StatusCode(), 404) << c.name;
    EXPECT_EQ(cli.ReasonPhrase(), "Response header longer than 65536 bytes") << c.name;
    EXPECT_GT(sent, kHeaderBound) << c.name;
    // Each line end counts as one byte, so a CR LF line is 1% over its count.
    EXPECT_LE(sent, kHeaderBound * 102 / 100) << c.name;
    std::size_t kept = 0;
    for (const std::string& l : cli.RcvdHeader()) kept += l.size();
    EXPECT_LE(kept, kHeaderBound) << c.name;
    poster.run_all();
    EXPECT_EQ(cli.State(), HttpState::Ready) << c.name;
  }
}

// A header block just under the bound is read as usual.
TEST(HttpCliStateMachine, AHeaderBlockJustUnderTheBoundIsRead) {
  ScriptedSocket socket;
  QueuePoster poster;
  HttpCli cli(socket, poster);
  std::string body;
  cli.events().OnDocData = [&body](HttpCli&, const char* bytes, std::size_t n) {
    body.append(bytes, n);
  };
  cli.config().URL = "http://10.1.2.3/x";
  cli.StartGet();
  socket.listener->socket_connected(0);
  const std::string status = "HTTP/1.0 200 OK\r\n";
  socket.listener->socket_data(status);
  std::size_t sent = status.size();
  const std::string line = "X-More: " + std::string(90, 'm') + "\r\n";
  for (; sent + line.size() + 2 <= kHeaderBound; sent += line.size()) {
    socket.listener->socket_data(line);
  }
  socket.listener->socket_data("\r\nbody");
  EXPECT_EQ(cli.StatusCode(), 200);
  EXPECT_EQ(body, "body");
}

}  // namespace
}  // namespace tovali
