#include "settings/SystemSettingsEditor.h"

#include "base/TextList.h"

namespace tovali {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The ending of the first line of `text`; LF when it has none.
std::string first_line_end(std::string_view text) {
  const auto end = text.find_first_of("\r\n");
  if (end == std::string_view::npos || text[end] == '\n') return "\n";
  return end + 1 < text.size() && text[end + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

SystemSettingsEditor::SystemSettingsEditor(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    m_byte_order_mark = std::string(kByteOrderMark);
    text.remove_prefix(kByteOrderMark.size());
  }
  m_line_end = first_line_end(text);
  m_lines = split_lines(text);
}

std::string SystemSettingsEditor::line_name(std::string_view line) {
  const std::string_view content = trim_blanks(line);
  if (content.empty() || content.front() == '#') return {};
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  return upper_case(trim_blanks(line.substr(0, equals)));
}

CheckedValue SystemSettingsEditor::lock(std::string_view name, std::string_view value) {
  const std::string_view written_name = trim_blanks(name);
  CheckedValue checked = check_setting_value(written_name, value);
  if (checked.check != ValueCheck::Accepted) return checked;
  const std::string wanted = upper_case(written_name);
  const std::string line = std::string(written_name) + "=" + checked.value;
  bool placed = false;
  TextList edited;
  edited.reserve(m_lines.size() + 1);
  for (auto& existing : m_lines) {
    if (line_name(existing) != wanted) {
      edited.push_back(std::move(existing));
    } else if (!placed) {
      edited.push_back(line);
      placed = true;
    }
  }
  if (!placed) edited.push_back(line);
  m_lines = std::move(edited);
  return checked;
}

std::size_t SystemSettingsEditor::unlock(std::string_view name) {
  const std::string wanted = upper_case(trim_blanks(name));
  if (wanted.empty()) return 0;
  const std::size_t before = m_lines.size();
  TextList kept;
  kept.reserve(before);
  for (auto& existing : m_lines) {
    if (line_name(existing) != wanted) kept.push_back(std::move(existing));
  }
  m_lines = std::move(kept);
  return before - m_lines.size();
}

std::string SystemSettingsEditor::text() const {
  std::string out = m_byte_order_mark;
  for (const auto& line : m_lines) {
    out += line;
    out += m_line_end;
  }
  return out;
}

}  // namespace tovali
