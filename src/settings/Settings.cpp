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

void Settings::set_values(const std::vector<NamedValue>& writes) {
  constexpr std::size_t none = std::string::npos;
  // The lines of each name (upper-cased) form a chain in list order; the
  // head of a chain is the line set_value would find. Deleted lines are only
  // marked while the writes run and leave the list at the end.
  struct Chain {
    std::size_t first = none;
    std::size_t last = none;
  };
  std::unordered_map<std::string, Chain> chains;
  chains.reserve(m_lines.size() + writes.size());
  std::vector<std::size_t> next(m_lines.size(), none);
  std::vector<bool> deleted(m_lines.size(), false);
  auto link = [&](std::size_t i) {
    bool has_name = false;
    const auto name = name_of(m_lines[i], has_name);
    if (!has_name) return;
    Chain& chain = chains[upper_case(name)];
    if (chain.first == none) {
      chain.first = i;
    } else {
      next[chain.last] = i;
    }
    chain.last = i;
  };
  for (std::size_t i = 0; i < m_lines.size(); ++i) link(i);

  for (const NamedValue& write : writes) {
    const auto found = chains.find(upper_case(write.name));
    const std::size_t i = found == chains.end() ? none : found->second.first;
    if (write.value.empty()) {
      if (i == none) continue;
      deleted[i] = true;
      found->second.first = next[i];
      if (next[i] == none) found->second.last = none;
      continue;
    }
    std::string line = write.name + '=' + write.value;
    if (i != none) {
      m_lines[i] = std::move(line);
    } else {
      m_lines.push_back(std::move(line));
      next.push_back(none);
      deleted.push_back(false);
      link(m_lines.size() - 1);
    }
  }

  std::size_t kept = 0;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    if (deleted[i]) continue;
    if (kept != i) m_lines[kept] = std::move(m_lines[i]);
    ++kept;
  }
  m_lines.resize(kept);
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
