#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace tovali::testing {

// How many times longer than written every deadline of the harness is: the
// number in the environment variable TOVALI_TEST_TIME_FACTOR, read once (at
// least 1; 1 when it is unset or not a number). For a machine slower still
// than a loaded two-core box, e.g. TOVALI_TEST_TIME_FACTOR=3 under valgrind.
double time_factor();
// `timeout` times time_factor(). The waits of the harness (wait_until,
// ChildProcess::wait_exit, run_command) scale their deadlines themselves.
std::chrono::milliseconds scaled(std::chrono::milliseconds timeout);

// Polls `condition` every `interval` until it holds or `timeout` (scaled)
// has passed. Returns whether it held. The condition is always asked at
// least once and once more at the deadline. A deadline is a bound for a
// program that hangs, never a measure: the wait ends as soon as the
// condition holds.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds interval = std::chrono::milliseconds(50));

// Waits until a file exists at `path` (and, with `min_size`, holds at least
// that many bytes).
bool wait_for_file(const std::string& path, std::chrono::milliseconds timeout,
                   std::uintmax_t min_size = 0);

// Deadlines of the harness: generous, because two test programs share two
// cores (and other work on the machine) with a browser engine each, whose
// web processes start slowly under load. Waits end as soon as the event is
// seen, so a generous deadline costs nothing while the program works.
inline constexpr std::chrono::milliseconds kStartTimeout{90000};
inline constexpr std::chrono::milliseconds kEventTimeout{60000};

}  // namespace tovali::testing
