#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/TextList.h"

namespace tovali {

// The refused URLs, oldest first, never more than kMaxEntries of them.
class ProhibitedLog {
 public:
  static constexpr std::size_t kMaxEntries = 500;
  // A file larger than this is not read (far above 500 URLs as the browser
  // reports them).
  static constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

  // Appends a URL as reported, then drops the oldest entries beyond the bound.
  void append(std::string_view url);

  // Replaces the entries with the lines of `path` (bounded, newest kept).
  // A missing or unreadable file, one over kMaxFileBytes or anything but a
  // regular file (a FIFO or a device returns at once) leaves the log empty;
  // returns false then.
  bool load(const std::string& path);

  // Writes the entries, one per line (CR LF), replacing the file through a
  // temporary file. Returns false (with `error` set) when that fails.
  bool save(const std::string& path, std::string* error = nullptr) const;

  const TextList& entries() const { return m_entries; }
  std::size_t size() const { return m_entries.size(); }

 private:
  void trim();

  TextList m_entries;
};

}  // namespace tovali
