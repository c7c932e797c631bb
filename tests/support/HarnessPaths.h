#pragma once

#include <string>

namespace tovali::testing {

// Where the harness finds the project's parts (fixed when the tests are built).
std::string source_dir();          // the project's source folder, ending in "/"
std::string explorer_path();       // build/tovali-explorer
std::string settings_tool_path();  // build/tovali-settings
std::string serve_py_path();       // site/serve.py
std::string data_dir();            // data/: the supplied pages
// Where screenshots of the tests are kept for a look by eye (outside the
// source tree); created on first use.
std::string screenshot_dir();

}  // namespace tovali::testing
