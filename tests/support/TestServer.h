#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Polling.h"

namespace tovali::testing {

// One request as the test server logged it.
struct ServedRequest {
  std::string method;  // "GET"
  std::string target;  // path with query, as the client sent it
  std::string host;    // the Host header ("-" when missing)

  // The target without its query ("?...").
  std::string path() const;
};

// The project's sample server (site/serve.py) serving `root` on a free port
// of 127.0.0.1, logging every request. Host names such as "kids.localhost"
// reach it too (`url_for`), so one server can play several sites with
// distinct domains. Files written below the root are served at once; a file
// "NAME.headers" beside NAME adds headers, a status or a delay (see serve.py).
class TestServer {
 public:
  // Starts the server; work_dir receives its log, port file and output.
  static std::unique_ptr<TestServer> start(const std::string& root, const std::string& work_dir,
                                           std::string* error);

  // The same over HTTPS, with the certificate chain and key of the PEM
  // files `certificate` and `key`; url_for and base_url then say "https".
  static std::unique_ptr<TestServer> start_https(const std::string& root,
                                                 const std::string& work_dir,
                                                 const std::string& certificate,
                                                 const std::string& key, std::string* error);
  static bool available();

  int port() const { return m_port; }
  // "http://127.0.0.1:PORT" ("https" for start_https)
  std::string base_url() const;
  // "http://HOST:PORT" + path, e.g. url_for("/menu.html", "kids.localhost").
  std::string url_for(const std::string& path, const std::string& host = "127.0.0.1") const;
  const std::string& root() const { return m_root; }
  const std::string& log_path() const { return m_log; }

  // Every request logged so far, in order.
  std::vector<ServedRequest> requests() const;
  // Whether a request for `path` (query ignored) has been logged.
  bool was_requested(const std::string& path) const;
  // Waits until a logged request satisfies `match`.
  bool wait_for_request(const std::function<bool(const ServedRequest&)>& match,
                        std::chrono::milliseconds timeout = kEventTimeout) const;
  // Waits until `path` (query ignored) has been requested.
  bool wait_for_path(const std::string& path,
                     std::chrono::milliseconds timeout = kEventTimeout) const;
  // The log as text, for failure messages.
  std::string log_text() const;

  ChildProcess& process() { return *m_process; }

 private:
  TestServer(std::unique_ptr<ChildProcess> process, std::string root, std::string log, int port)
      : m_process(std::move(process)),
        m_root(std::move(root)),
        m_log(std::move(log)),
        m_port(port) {}
  static std::unique_ptr<TestServer> start_with(const std::string& root,
                                                const std::string& work_dir,
                                                const std::vector<std::string>& extra_args,
                                                std::string* error);

  std::unique_ptr<ChildProcess> m_process;
  std::string m_root;
  std::string m_log;
  int m_port;
  std::string m_scheme = "http";
};

// One HTTP/1.0 GET of `target` from 127.0.0.1:port with the given Host
// header: the whole answer (head and body), or "" when nothing answers
// within a few seconds.
std::string http_get(int port, const std::string& target, const std::string& host = "127.0.0.1");

// A port of 127.0.0.1 on which nothing listens (connections are refused):
// the address of a site that is down, reserved until the test process ends.
int unused_port();

}  // namespace tovali::testing
