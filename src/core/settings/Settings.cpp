#include "settings/Settings.h"

#include "settings/SettingsKeys.h"

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

std::size_t Settings::find_in(const TextList& lines, std::string_view key) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(lines[i], has_name);
    if (has_name && equals_ignore_case(name, key)) return i;
  }
  return std::string::npos;
}

namespace {
std::string value_of(const std::string& line) {
  return line.substr(line.find('=') + 1);
}
}  // namespace

void Settings::set_locked(TextList locked_lines) {
  m_locked = std::move(locked_lines);
  m_locked_index.clear();
  m_locked_index.reserve(m_locked.size());
  for (std::size_t i = 0; i < m_locked.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(m_locked[i], has_name);
    if (has_name) m_locked_index.emplace(upper_case(name), i);
  }
}

std::size_t Settings::find_locked(std::string_view key) const {
  if (m_locked_index.empty()) return std::string::npos;
  const auto it = m_locked_index.find(upper_case(key));
  return it == m_locked_index.end() ? std::string::npos : it->second;
}

bool Settings::is_locked(std::string_view key) const {
  return find_locked(key) != std::string::npos;
}

std::string Settings::value(std::string_view key) const {
  const auto locked = find_locked(key);
  if (locked != std::string::npos) return value_of(m_locked[locked]);
  const auto i = find(key);
  if (i == std::string::npos) return {};
  return value_of(m_lines[i]);
}

bool Settings::has(std::string_view key) const {
  const auto locked = find_locked(key);
  if (locked != std::string::npos) return !value_of(m_locked[locked]).empty();
  return find(key) != std::string::npos;
}

TextList Settings::lines_in_force() const {
  if (m_locked.empty()) return m_lines;
  TextList out;
  out.reserve(m_lines.size() + m_locked.size());
  // Only the first user line of a name is in force; a later one of the same
  // name stays as it is, shadowed as before.
  std::vector<bool> placed(m_locked.size(), false);
  for (const auto& line : m_lines) {
    bool has_name = false;
    const auto name = name_of(line, has_name);
    const auto locked = has_name ? find_locked(name) : std::string::npos;
    if (locked == std::string::npos || placed[locked]) {
      out.push_back(line);
      continue;
    }
    placed[locked] = true;
    if (!value_of(m_locked[locked]).empty()) out.push_back(m_locked[locked]);
  }
  for (std::size_t i = 0; i < m_locked.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(m_locked[i], has_name);
    // Only the first locked line of a name counts.
    if (placed[i] || !has_name || find_locked(name) != i) continue;
    if (!value_of(m_locked[i]).empty()) out.push_back(m_locked[i]);
  }
  return out;
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

std::vector<NamedValue> changes_between(const TextList& before, const TextList& after) {
  // The first line of each name, keyed by the upper-cased name.
  const auto first_values = [](const TextList& lines) {
    std::unordered_map<std::string, std::size_t> first;
    first.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      bool has_name = false;
      const auto name = name_of(lines[i], has_name);
      if (has_name) first.emplace(upper_case(name), i);
    }
    return first;
  };
  const auto first_before = first_values(before);
  const auto first_after = first_values(after);
  std::vector<NamedValue> writes;
  for (std::size_t i = 0; i < after.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(after[i], has_name);
    if (!has_name) continue;
    const auto key = upper_case(name);
    if (first_after.at(key) != i) continue;
    const auto old = first_before.find(key);
    const std::string value = value_of(after[i]);
    if (old == first_before.end() || value_of(before[old->second]) != value) {
      writes.push_back({std::string(name), value});
    }
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    bool has_name = false;
    const auto name = name_of(before[i], has_name);
    if (!has_name) continue;
    const auto key = upper_case(name);
    if (first_before.at(key) == i && first_after.count(key) == 0) {
      writes.push_back({std::string(name), std::string()});
    }
  }
  return writes;
}

bool Settings::is_on(std::string_view key) const {
  const auto v = value(key);
  if (switch_rule(key) == SwitchRule::OffWhenZero) return v != "0";
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
  // A locked entry replaces the user's; the first locked line of a name counts.
  std::unordered_set<std::string> locked_seen;
  for (const auto& line : m_locked) {
    bool has_name = false;
    const auto name = name_of(line, has_name);
    if (!has_name || !starts_with_ignore_case(name, prefix)) continue;
    const std::string key = upper_case(name);
    if (!locked_seen.insert(key).second) continue;
    first[key] = line.substr(name.size() + 1);
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
