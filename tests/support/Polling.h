#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace tovali::testing {

// Polls `condition` every `interval` until it holds or `timeout` has passed.
// Returns whether it held. The condition is always asked at least once and
// once more at the deadline.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds interval = std::chrono::milliseconds(50));

// Waits until a file exists at `path` (and, with `min_size`, holds at least
// that many bytes).
bool wait_for_file(const std::string& path, std::chrono::milliseconds timeout,
                   std::uintmax_t min_size = 0);

// Timeouts of the harness: generous, because two test programs share two
// cores with a browser engine each, but always bounded.
inline constexpr std::chrono::milliseconds kStartTimeout{20000};
inline constexpr std::chrono::milliseconds kEventTimeout{15000};
// How long a test watches for something that must NOT happen.
inline constexpr std::chrono::milliseconds kQuietPeriod{1500};

}  // namespace tovali::testing
