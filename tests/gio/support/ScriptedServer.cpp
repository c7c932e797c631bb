#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace tovali::testing {

namespace {

void send_all(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return;
    }
    sent += static_cast<std::size_t>(n);
  }
}

// Reads up to the end of the request header (or 5 s of silence, or EOF).
std::string read_request(int fd) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 1000000) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) break;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  return request;
}

std::string target_of(const std::string& request) {
  const auto first_space = request.find(' ');
  if (first_space == std::string::npos) return "";
  const auto second_space = request.find(' ', first_space + 1);
  return request.substr(first_space + 1, second_space - first_space - 1);
}

}  // namespace

ScriptedServer::ScriptedServer() {
  m_listen_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  ::setsockopt(m_listen_fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(m_listen_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(m_listen_fd, 64) != 0 || ::pipe2(m_wake_pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("test server cannot listen");
  }
  socklen_t length = sizeof address;
  ::getsockname(m_listen_fd, reinterpret_cast<sockaddr*>(&address), &length);
  m_port = ntohs(address.sin_port);
  m_default = Reply{http_response("HTTP/1.0 404 Not Found", {}, "no such page"), Ending::Close};
  m_acceptor = std::thread([this] { accept_loop(); });
}

ScriptedServer::~ScriptedServer() {
  stop();
}

std::string ScriptedServer::base() const {
  return "http://127.0.0.1:" + std::to_string(m_port);
}

void ScriptedServer::on(const std::string& target, Reply reply) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_replies[target] = std::move(reply);
}

void ScriptedServer::set_default(Reply reply) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_default = std::move(reply);
}

std::vector<std::string> ScriptedServer::requests() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_requests;
}

std::vector<std::string> ScriptedServer::targets() const {
  std::vector<std::string> targets;
  for (const auto& request : requests()) targets.push_back(target_of(request));
  return targets;
}

std::size_t ScriptedServer::connections() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_connections;
}

Reply ScriptedServer::reply_for(const std::string& target) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_replies.find(target);
  return found == m_replies.end() ? m_default : found->second;
}

void ScriptedServer::accept_loop() {
  while (true) {
    pollfd fds[2] = {{m_listen_fd, POLLIN, 0}, {m_wake_pipe[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    const int fd = ::accept4(m_listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) {
      ::close(fd);
      return;
    }
    ++m_connections;
    m_workers.emplace_back([this, fd] { serve(fd); });
  }
}

void ScriptedServer::serve(int fd) {
  const std::string request = read_request(fd);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.push_back(request);
  }
  const Reply reply = reply_for(target_of(request));
  send_all(fd, reply.bytes);
  if (reply.ending == Ending::Hold) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_stopping_cv.wait(lock, [this] { return m_stopping; });
  } else if (reply.ending == Ending::Tunnel) {
    relay(fd, reply.tunnel_port);
  } else if (reply.ending == Ending::Reset) {
    const linger abortive{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  } else {
    ::shutdown(fd, SHUT_WR);
  }
  ::close(fd);
}

void ScriptedServer::relay(int fd, int port) {
  const int upstream = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(upstream, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(upstream);
    return;
  }
  char buffer[16384];
  bool open = true;
  while (open) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {upstream, POLLIN, 0}};
    const int ready = ::poll(fds, 2, 100);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_stopping) break;
    }
    if (ready < 0 && errno != EINTR) break;
    for (int i = 0; i < 2 && open && ready > 0; ++i) {
      if (fds[i].revents == 0) continue;
      const ssize_t n = ::recv(fds[i].fd, buffer, sizeof buffer, 0);
      if (n <= 0) {
        open = false;
      } else {
        send_all(fds[1 - i].fd, std::string(buffer, static_cast<std::size_t>(n)));
      }
    }
  }
  ::close(upstream);
}

void ScriptedServer::stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) return;
    m_stopping = true;
  }
  m_stopping_cv.notify_all();
  const char wake = 1;
  (void)!::write(m_wake_pipe[1], &wake, 1);
  if (m_acceptor.joinable()) m_acceptor.join();
  for (auto& worker : m_workers) worker.join();
  ::close(m_listen_fd);
  ::close(m_wake_pipe[0]);
  ::close(m_wake_pipe[1]);
}

std::string http_response(const std::string& status_line, const std::vector<std::string>& headers,
                          const std::string& body) {
  std::string response = status_line + "\r\n";
  for (const auto& header : headers) response += header + "\r\n";
  return response + "\r\n" + body;
}

}  // namespace tovali::testing
