// `tovali-rules lint` on an arbitrary menu file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"
#include "cli/RulesLint.h"
#include "psl/LibpslSuffixList.h"

using namespace tovali;

// The domain rules consult the real Public Suffix List, as in the programs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tovali::LibpslSuffixList::install();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto [offset, body] = menu_body(file);
  fuzz::require(offset + body.size() <= file.size(), "the menu body lies inside the file");
  fuzz::require(file.substr(offset, body.size()) == body, "the menu body is a part of the file");
  const std::size_t line_count =
      static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')) + 1;
  std::size_t previous = 1;
  for (const auto& warning : lint_menu_page(file)) {
    fuzz::require(warning.line >= previous, "warnings are in file order");
    fuzz::require(warning.line <= line_count, "a warning names a line of the file");
    fuzz::require(!warning.text.empty(), "a warning says something");
    previous = warning.line;
  }
  return 0;
}
