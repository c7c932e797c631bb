// The text lists and the refused-URL log on arbitrary text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "base/TextList.h"
#include "settings/ProhibitedLog.h"

using namespace tovali;

namespace {

void text_lists(std::string_view text) {
  const TextList lines = split_lines(text);
  for (const auto& line : lines) {
    fuzz::require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line break");
  }
  fuzz::require(split_lines(join_crlf(lines)) == lines, "joined lines split into the same lines");
  const std::string upper = upper_case(text);
  fuzz::require(upper.size() == text.size(), "upper-casing keeps the length");
  fuzz::require(equals_ignore_case(upper, text), "a text equals its upper case without case");
  fuzz::require(starts_with_ignore_case(text, upper.substr(0, upper.size() / 2)),
                "a text begins with the upper case of its first half");
  if (!lines.empty())
    fuzz::require(holds(lines, upper_case(lines.back())), "a list holds its entries");
}

void refused_url_log(std::string_view text) {
  const TextList urls = split_lines(text);
  ProhibitedLog log;
  for (const auto& url : urls) log.append(url);
  const std::size_t kept = std::min(urls.size(), ProhibitedLog::kMaxEntries);
  fuzz::require(log.size() == kept, "the log keeps at most its bound");
  fuzz::require(std::equal(log.entries().begin(), log.entries().end(), urls.end() - kept),
                "the log keeps the newest entries, oldest first");
  std::string error;
  fuzz::require(log.save(fuzz::scratch_file(), &error), "the log is saved");
  ProhibitedLog loaded;
  fuzz::require(loaded.load(fuzz::scratch_file()), "a saved log loads");
  fuzz::require(loaded.entries() == log.entries(), "a saved log loads as it was");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  text_lists(text);
  refused_url_log(text);
  return 0;
}
