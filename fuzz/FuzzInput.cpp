#include "FuzzInput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tovali::fuzz {

std::string_view FuzzInput::next_line() {
  const auto end = m_rest.find('\n');
  const std::string_view line = m_rest.substr(0, end);
  m_rest = end == std::string_view::npos ? std::string_view() : m_rest.substr(end + 1);
  return line;
}

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "contract broken: %s\n", what);
  std::abort();
}

namespace {
// Removes the scratch file when the fuzzer ends normally.
struct ScratchFile {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("tovali-fuzz-" + std::to_string(getpid()) + ".dat"))
                         .string();
  ~ScratchFile() { std::remove(path.c_str()); }
};
}  // namespace

const std::string& scratch_file() {
  static const ScratchFile file;
  return file.path;
}

}  // namespace tovali::fuzz
