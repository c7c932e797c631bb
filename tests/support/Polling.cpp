#include "Polling.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace tovali::testing {

double time_factor() {
  static const double factor = [] {
    const char* text = std::getenv("TOVALI_TEST_TIME_FACTOR");
    const double value = text ? std::strtod(text, nullptr) : 1.0;
    return value >= 1.0 && value <= 1000.0 ? value : 1.0;
  }();
  return factor;
}

std::chrono::milliseconds scaled(std::chrono::milliseconds timeout) {
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(
      static_cast<double>(timeout.count()) * time_factor()));
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds interval) {
  const auto deadline = std::chrono::steady_clock::now() + scaled(timeout);
  while (true) {
    if (condition()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(interval, deadline - now));
  }
}

bool wait_for_file(const std::string& path, std::chrono::milliseconds timeout,
                   std::uintmax_t min_size) {
  return wait_until(
      [&] {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        return !ec && size >= min_size;
      },
      timeout);
}

}  // namespace tovali::testing
