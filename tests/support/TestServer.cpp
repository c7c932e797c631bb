#include "TestServer.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "HarnessPaths.h"

extern char** environ;

namespace tovali::testing {

namespace {

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string ServedRequest::path() const {
  return target.substr(0, target.find('?'));
}

bool TestServer::available() {
  return !find_program("python3").empty() && ::access(serve_py_path().c_str(), R_OK) == 0;
}

std::unique_ptr<TestServer> TestServer::start(const std::string& root, const std::string& work_dir,
                                              std::string* error) {
  return start_with(root, work_dir, {}, error);
}

std::unique_ptr<TestServer> TestServer::start_https(const std::string& root,
                                                    const std::string& work_dir,
                                                    const std::string& certificate,
                                                    const std::string& key, std::string* error) {
  auto server = start_with(root, work_dir, {"--cert", certificate, "--key", key}, error);
  if (server) server->m_scheme = "https";
  return server;
}

std::unique_ptr<TestServer> TestServer::start_with(const std::string& root,
                                                   const std::string& work_dir,
                                                   const std::vector<std::string>& extra_args,
                                                   std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<TestServer> {
    if (error) *error = why;
    return nullptr;
  };
  if (!available()) return fail("python3 or " + serve_py_path() + " is missing");
  const std::string dir = work_dir.empty() || work_dir.back() == '/' ? work_dir : work_dir + "/";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string log = dir + "requests.log";
  const std::string port_file = dir + "server.port";
  std::ofstream(log, std::ios::trunc).close();  // exists from the start, even before a request
  ::unlink(port_file.c_str());
  ProcessOptions options;
  options.argv = {"python3", serve_py_path(), "--port", "0",           "--root",
                  root,      "--log",         log,      "--port-file", port_file};
  options.argv.insert(options.argv.end(), extra_args.begin(), extra_args.end());
  for (char** e = environ; e && *e; ++e) options.env.emplace_back(*e);
  options.env.emplace_back("PYTHONDONTWRITEBYTECODE=1");
  options.output_path = dir + "server.out";
  auto process = ChildProcess::start(options, error);
  if (!process) return nullptr;
  int port = 0;
  const bool up = wait_until(
      [&] {
        if (!process->running()) return true;
        port = std::atoi(read_all(port_file).c_str());
        return port > 0;
      },
      kStartTimeout);
  if (!up || port <= 0)
    return fail("the test server did not start: " + read_all(dir + "server.out"));
  return std::unique_ptr<TestServer>(new TestServer(std::move(process), root, log, port));
}

std::string TestServer::base_url() const {
  return url_for("");
}

std::string TestServer::url_for(const std::string& path, const std::string& host) const {
  return m_scheme + "://" + host + ":" + std::to_string(m_port) + path;
}

std::vector<ServedRequest> TestServer::requests() const {
  std::vector<ServedRequest> out;
  std::istringstream lines(read_all(m_log));
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t a = line.find('\t');
    const std::size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) continue;  // a line still being written
    out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return out;
}

bool TestServer::was_requested(const std::string& path) const {
  for (const auto& r : requests())
    if (r.path() == path) return true;
  return false;
}

bool TestServer::wait_for_request(const std::function<bool(const ServedRequest&)>& match,
                                  std::chrono::milliseconds timeout) const {
  return wait_until(
      [&] {
        for (const auto& r : requests())
          if (match(r)) return true;
        return false;
      },
      timeout);
}

bool TestServer::wait_for_path(const std::string& path, std::chrono::milliseconds timeout) const {
  return wait_for_request([&](const ServedRequest& r) { return r.path() == path; }, timeout);
}

std::string TestServer::log_text() const {
  return read_all(m_log);
}

std::string http_get(int port, const std::string& target, const std::string& host) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return {};
  timeval timeout{5, 0};
  ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + target + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    if (::send(s, request.data(), request.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(request.size())) {
      char buffer[4096];
      for (ssize_t n; (n = ::recv(s, buffer, sizeof buffer, 0)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(s);
  return answer;
}

int unused_port() {
  // Bind a port and never listen on it: connections to it are refused. The
  // socket stays open until the test process ends, so a server of a test
  // running in parallel cannot be given the same port meanwhile.
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return 59999;  // nothing listens there on a test machine
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(s);
    return 59999;
  }
  return ntohs(address.sin_port);
}

}  // namespace tovali::testing
