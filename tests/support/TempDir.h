#pragma once

#include <string>

namespace tovali::testing {

// A fresh folder below the system's temporary folder, removed with its
// contents when the object goes away. path() ends with "/".
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return m_path; }

  // Writes `content` to path() + relative (folders created as needed).
  void write(const std::string& relative, const std::string& content) const;
  // The bytes of path() + relative, or "" when missing.
  std::string read(const std::string& relative) const;

 private:
  std::string m_path;
};

}  // namespace tovali::testing
