#include "HarnessPaths.h"

#include <filesystem>

namespace tovali::testing {

std::string source_dir() {
  return TOVALI_TEST_SOURCE_DIR "/";
}
std::string explorer_path() {
  return TOVALI_TEST_EXPLORER_EXE;
}
std::string settings_tool_path() {
  return TOVALI_TEST_SETTINGS_EXE;
}
std::string serve_py_path() {
  return source_dir() + "site/serve.py";
}
std::string data_dir() {
  return source_dir() + "data/";
}

std::string screenshot_dir() {
  const std::string dir = TOVALI_TEST_SCREENSHOT_DIR "/";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

}  // namespace tovali::testing
