#include "base/TextList.h"

#include "base/RegularFile.h"

namespace tovali {

namespace {
char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string upper_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

bool equals_ignore_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

bool starts_with_ignore_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equals_ignore_case(text.substr(0, prefix.size()), prefix);
}

std::string_view trim_blanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool holds(const TextList& list, std::string_view text) {
  for (const auto& entry : list) {
    if (equals_ignore_case(entry, text)) return true;
  }
  return false;
}

TextList split_lines(std::string_view text) {
  TextList lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool read_text_lines(const std::string& path, std::size_t max_bytes, TextList& lines) {
  const RegularFileRead read = read_regular_file(path, max_bytes);
  if (read.outcome != FileReadOutcome::Read) return false;
  lines = split_lines(read.text);
  return true;
}

std::string join_crlf(const TextList& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace tovali
