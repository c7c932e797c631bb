// The configuration merge: arbitrary settings, locked lines and downloaded
// document.
//
// Input: the settings lines up to an empty line, the locked lines up to the
// next empty line, then the document.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "base/TextList.h"
#include "config/RemoteConfig.h"
#include "settings/Settings.h"

using namespace tovali;

namespace {
TextList lines_up_to_empty(fuzz::FuzzInput& input) {
  TextList lines;
  for (std::string_view line = input.next_line(); !line.empty(); line = input.next_line()) {
    lines.emplace_back(line);
  }
  return lines;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  Settings settings(lines_up_to_empty(input));
  settings.set_locked(lines_up_to_empty(input));
  const std::string_view document = input.rest();

  const Settings before = settings;
  const bool merged = merge_config_document(settings, document);
  if (!merged) {
    fuzz::require(settings.lines() == before.lines(), "a refused merge changes nothing");
    return 0;
  }
  for (const auto& write : config_writes(document)) {
    fuzz::require(!write.name.empty(), "every write has a name");
    if (before.is_locked(write.name)) {
      fuzz::require(settings.value(write.name) == before.value(write.name),
                    "a locked key keeps its value");
    } else if (!write.value.empty()) {
      fuzz::require(settings.value(write.name) == write.value, "a written key holds its value");
    }
  }
  return 0;
}
