#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tovali::testing {

// How the server ends a connection after sending its reply bytes.
enum class Ending {
  Close,  // orderly close
  Reset,  // abortive close (RST)
  Hold,   // keep the connection open, sending nothing more, until the server stops
  Tunnel  // relay bytes both ways to 127.0.0.1:tunnel_port, as a proxy after CONNECT
};

struct Reply {
  std::string bytes;
  Ending ending = Ending::Close;
  int tunnel_port = 0;  // for Ending::Tunnel
};

// A TCP server on 127.0.0.1 (a free port) for the HTTP tests. For every
// connection it reads the request header (up to the empty line), records it,
// and answers with the reply registered for the request line's target (the
// text between the method and the protocol), or the default reply.
// It can misbehave on purpose: never answer, reset, cut a header short.
class ScriptedServer {
 public:
  ScriptedServer();
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int port() const { return m_port; }
  // "http://127.0.0.1:PORT"
  std::string base() const;

  void on(const std::string& target, Reply reply);
  void set_default(Reply reply);

  // Every request header received so far, in order of arrival, as bytes.
  std::vector<std::string> requests() const;
  // The targets of those requests.
  std::vector<std::string> targets() const;
  std::size_t connections() const;

  // Stops accepting, ends held connections and waits for every worker.
  void stop();

 private:
  void accept_loop();
  void serve(int fd);
  void relay(int fd, int port);
  Reply reply_for(const std::string& target) const;

  int m_listen_fd = -1;
  int m_wake_pipe[2] = {-1, -1};
  int m_port = 0;
  mutable std::mutex m_mutex;
  std::condition_variable m_stopping_cv;
  bool m_stopping = false;
  std::map<std::string, Reply> m_replies;
  Reply m_default;
  std::vector<std::string> m_requests;
  std::size_t m_connections = 0;
  std::vector<std::thread> m_workers;
  std::thread m_acceptor;
};

// (A port where nothing listens: unused_port() of TestServer.h.)

// "HTTP/1.0 200 OK\r\n" + headers + "\r\n" + body, headers given as lines.
std::string http_response(const std::string& status_line, const std::vector<std::string>& headers,
                          const std::string& body);

}  // namespace tovali::testing
