#pragma once

#include <functional>
#include <string>

namespace tovali::testing {

// What stands in place of a file a test expects the program to refuse.
enum class SpecialFile {
  Fifo,     // a FIFO that no one writes to: opening it for reading can block
  DevZero,  // a symbolic link to /dev/zero: reading it never ends
};

// The name of `kind`, for test messages.
const char* special_file_name(SpecialFile kind);

// Creates `kind` at `path` (which must not exist). Returns false when it
// could not be made.
bool make_special_file(const std::string& path, SpecialFile kind);

// Runs `work` in a child process and returns its result. When the child has
// not ended within `deadline_seconds` it is killed and the result is false,
// with `problem` saying so; a child that crashes gives false as well. The
// deadline only turns a hang into a failure: a passing run returns as soon as
// the child ends.
bool run_in_child(const std::function<bool()>& work, int deadline_seconds, std::string* problem);

}  // namespace tovali::testing
