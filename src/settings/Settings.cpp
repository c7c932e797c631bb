#include "settings/Settings.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace tovali {

namespace {
std::string_view name_of(const std::string& line, bool& has_name) {
  const auto eq = line.find('=');
  has_name = eq != std::string::npos;
  return has_name ? std::string_view(line).substr(0, eq) : std::string_view();
}
}  // namespace

int parse_count(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return 0;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

std::size_t Settings::find(std::string_view key) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(m_lines[i], has_name);
    if (has_name && equals_ignore_case(name, key)) return i;
  }
  return std::string::npos;
}

std::string Settings::value(std::string_view key) const {
  const auto i = find(key);
  if (i == std::string::npos) return {};
  return m_lines[i].substr(m_lines[i].find('=') + 1);
}

bool Settings::has(std::string_view key) const {
  return find(key) != std::string::npos;
}

void Settings::set_value(std::string_view key, std::string_view value) {
  const auto i = find(key);
  if (value.empty()) {
    if (i != std::string::npos) m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
    return;
  }
  std::string line(key);
  line += '=';
  line += value;
  if (i != std::string::npos) {
    m_lines[i] = std::move(line);
  } else {
    m_lines.push_back(std::move(line));
  }
}

bool Settings::is_on(std::string_view key) const {
  const auto v = value(key);
  if (equals_ignore_case(key, "download_config")) return v != "0";
  return v == "1";
}

int Settings::count(std::string_view key) const {
  return parse_count(value(key));
}

TextList Settings::list(std::string_view count_key, std::string_view prefix,
                        LetterCase letter_case) const {
  TextList out;
  // A stored copy holds at most kMaxListEntries lines, so a larger count can
  // only come from a damaged or hostile value; it must not stall the program.
  const int n = std::min(count(count_key), kMaxListEntries);
  if (n <= 0) return out;
  // First value of every entry name, looked up once: lists are read at every
  // settings change and the settings may hold thousands of lines.
  std::unordered_map<std::string, std::string> first;
  const std::string upper_prefix = upper_case(prefix);
  for (const auto& line : m_lines) {
    bool has_name = false;
    const auto name = name_of(line, has_name);
    if (!has_name || !starts_with_ignore_case(name, prefix)) continue;
    first.emplace(upper_case(name), line.substr(name.size() + 1));
  }
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const auto it = first.find(upper_prefix + std::to_string(i));
    std::string v = it == first.end() ? std::string() : it->second;
    out.push_back(letter_case == LetterCase::Upper ? upper_case(v) : std::move(v));
  }
  return out;
}

}  // namespace tovali
