#include "HttpTestClient.h"

#include <giomm/init.h>
#include <glibmm/main.h>

#include "Polling.h"

namespace tovali::testing {

void init_gio() {
  Gio::init();
}

bool run_until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + scaled(limit);
  auto context = Glib::MainContext::get_default();
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Wakes at least every 10 ms to look at the clock.
    auto guard = Glib::signal_timeout().connect([] { return false; }, 10);
    context->iteration(true);
    guard.disconnect();
  }
  return true;
}

void run_briefly(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  run_until([end] { return std::chrono::steady_clock::now() >= end; }, span * 2);
}

HttpTestClient::HttpTestClient() : cli(socket, loop) {
  init_gio();
  HttpCliEvents& e = cli.events();
  e.OnDocBegin = [this](HttpCli&) { ++doc_begins; };
  e.OnDocData = [this](HttpCli& sender, const char* buffer, std::size_t len) {
    doc.append(buffer, len);
    if (after_doc_data) after_doc_data(sender);
  };
  e.OnDocEnd = [this](HttpCli& sender) {
    ++doc_ends;
    state_at_doc_end.push_back(sender.State());
  };
  e.OnStateChange = [this](HttpCli& sender) { states.push_back(sender.State()); };
  e.OnRequestDone = [this](HttpCli&, HttpRequestType, int) { ++requests_done; };
}

bool HttpTestClient::get(const std::string& url) {
  cli.config().URL = url;
  const int done_before = requests_done;
  cli.StartGet();
  return run_until([&] { return requests_done > done_before; });
}

}  // namespace tovali::testing
