#include "settings/ProhibitedLog.h"

#include "base/AtomicFile.h"

namespace tovali {

void ProhibitedLog::append(std::string_view url) {
  m_entries.emplace_back(url);
  trim();
}

bool ProhibitedLog::load(const std::string& path) {
  TextList lines;
  if (!read_text_lines(path, kMaxFileBytes, lines)) {
    m_entries.clear();
    return false;
  }
  m_entries = std::move(lines);
  trim();
  return true;
}

bool ProhibitedLog::save(const std::string& path, std::string* error) const {
  return write_file_atomically(path, join_crlf(m_entries), error);
}

void ProhibitedLog::trim() {
  if (m_entries.size() > kMaxEntries) {
    m_entries.erase(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(
                                                               m_entries.size() - kMaxEntries));
  }
}

}  // namespace tovali
