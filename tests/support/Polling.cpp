#include "Polling.h"

#include <filesystem>
#include <thread>

namespace tovali::testing {

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds interval) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
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
