#pragma once

#include <exception>
#include <iostream>
#include <utility>

namespace tovali {

// Every GTK, GLib and WebKit callback runs its body through these: no error
// may escape into C code. An error is written to standard error for the
// administrator and never shown to the child.
inline void report_callback_error(const char* where, const char* what) {
  std::cerr << "tovali-explorer: " << where << ": " << what << "\n";
}

// Runs `fn`; an error it throws is reported and dropped.
template <typename Fn>
void guarded(const char* where, Fn&& fn) {
  try {
    std::forward<Fn>(fn)();
  } catch (const std::exception& e) {
    report_callback_error(where, e.what());
  } catch (...) {
    report_callback_error(where, "unknown error");
  }
}

// Runs `fn` and returns its result, or `fallback` when it threw.
template <typename R, typename Fn>
R guarded_value(const char* where, R fallback, Fn&& fn) {
  try {
    return std::forward<Fn>(fn)();
  } catch (const std::exception& e) {
    report_callback_error(where, e.what());
  } catch (...) {
    report_callback_error(where, "unknown error");
  }
  return fallback;
}

}  // namespace tovali
