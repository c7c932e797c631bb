#pragma once

// A socket and a main loop that the test drives by hand, for the HTTP
// client's state machine without a network.

#include <cerrno>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "net/MainLoopPoster.h"
#include "net/Socket.h"

namespace tovali {

// A socket that records calls and answers nothing by itself.
class ScriptedSocket : public Socket {
 public:
  void set_listener(SocketListener* listener) override { this->listener = listener; }
  bool start_lookup(const std::string& host, int& error) override {
    lookups.push_back(host);
    if (refuse_lookup) error = EAGAIN;
    return !refuse_lookup;
  }
  void cancel_lookup() override { ++cancels; }
  bool start_connect(const std::string& address, int port, int&) override {
    connects.push_back(address + ":" + std::to_string(port));
    return true;
  }
  void start_tls(const std::string& host, int port) override {
    tls_starts.push_back(host + ":" + std::to_string(port));
  }
  void send(std::string bytes) override { sent += bytes; }
  void read_some(std::size_t max_bytes) override { reads.push_back(max_bytes); }
  void close() override { ++closes; }

  SocketListener* listener = nullptr;
  bool refuse_lookup = false;
  std::vector<std::string> lookups;
  std::vector<std::string> connects;
  std::vector<std::size_t> reads;
  std::vector<std::string> tls_starts;
  std::string sent;
  int cancels = 0;
  int closes = 0;
};

class QueuePoster : public MainLoopPoster {
 public:
  void post(std::function<void()> task) override { tasks.push_back(std::move(task)); }
  void run_all() {
    while (!tasks.empty()) {
      auto task = std::move(tasks.front());
      tasks.pop_front();
      task();
    }
  }
  std::deque<std::function<void()>> tasks;
};

}  // namespace tovali
