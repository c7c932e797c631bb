#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "gio/GioSocket.h"
#include "gio/GlibMainLoop.h"
#include "net/HttpCli.h"

namespace tovali::testing {

// Gio::init() once per process.
void init_gio();

// Runs the default GLib main context until `done` holds or `limit` (scaled by
// time_factor()) passed (a guard against a hanging test, not a measurement).
// Returns done().
bool run_until(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

// Runs whatever the main context has pending for a short while.
void run_briefly(std::chrono::milliseconds span = std::chrono::milliseconds(100));

// An HttpCli over real GIO sockets that records what it reports.
struct HttpTestClient {
  HttpTestClient();

  // Starts a GET and runs the main loop until the request is done.
  // Returns false when it did not finish in time.
  bool get(const std::string& url);

  GlibMainLoop loop;
  GioSocket socket;
  HttpCli cli;

  int doc_begins = 0;
  int doc_ends = 0;
  int requests_done = 0;
  std::string doc;
  std::vector<HttpState> states;
  // State seen inside OnDocEnd (it must not be Ready yet).
  std::vector<HttpState> state_at_doc_end;
  // Called from OnDocData after recording, when set.
  std::function<void(HttpCli&)> after_doc_data;
};

}  // namespace tovali::testing
