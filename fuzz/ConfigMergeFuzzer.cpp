// The configuration merge against a second, plain version of its rules.
//
// Input: the settings lines up to an empty line, the locked lines up to the
// next empty line, then the document.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "base/TextList.h"
#include "config/RemoteConfig.h"
#include "settings/ScrambledFile.h"
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

// The reference: the rules as they are stated, step by step, with no code of
// the program's own parser. Quadratic, which is fine at fuzzing sizes.

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A line's name: the text before its first "="; none without "=".
std::optional<std::string> name_of(const std::string& line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return line.substr(0, equals);
}

std::string value_of(const std::string& line) {
  return line.substr(line.find('=') + 1);
}

// Lines separated by CR LF, CR or LF; the text ends at its first NUL byte.
TextList document_lines(std::string_view document) {
  document = document.substr(0, document.find('\0'));
  TextList lines;
  std::string line;
  for (std::size_t i = 0; i < document.size(); ++i) {
    const char c = document[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < document.size() && document[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Writing a key: the first line of that name (letter case ignored) is
// replaced by name=value, or name=value is appended; an empty value deletes
// that first line instead.
void write(TextList& lines, const std::string& name, const std::string& value) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto line_name = name_of(lines[i]);
    if (!line_name || upper(*line_name) != upper(name)) continue;
    if (value.empty()) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      lines[i] = name + "=" + value;
    }
    return;
  }
  if (!value.empty()) lines.push_back(name + "=" + value);
}

// Every non-empty document line with a name, in order, writes the value of
// the first document line of that name, unless the administrator locked it.
// Nothing changes when the result holds more lines than a copy can count.
std::optional<TextList> reference_merge(const Settings& before, std::string_view document) {
  TextList lines = before.lines();
  const TextList doc = document_lines(document);
  for (const std::string& line : doc) {
    const auto name = name_of(line);
    if (line.empty() || !name || name->empty() || before.is_locked(*name)) continue;
    for (const std::string& first : doc) {
      const auto first_name = name_of(first);
      if (first_name && upper(*first_name) == upper(*name)) {
        write(lines, *name, value_of(first));
        break;
      }
    }
  }
  std::size_t non_empty = 0;
  for (const std::string& line : lines) non_empty += line.empty() ? 0 : 1;
  if (non_empty > kMaxCountedLines) return std::nullopt;
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
  const std::optional<TextList> expected = reference_merge(before, document);
  fuzz::require(merged == expected.has_value(), "merged exactly when the reference merges");
  if (!merged) {
    fuzz::require(settings.lines() == before.lines(), "a refused merge changes nothing");
    return 0;
  }
  fuzz::require(settings.lines() == *expected, "the merged lines are the reference's");
  return 0;
}
