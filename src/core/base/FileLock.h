#pragma once

#include <chrono>
#include <string>

namespace tovali {

// An exclusive lock (flock) on a file, held from construction until the
// object goes away. Every process that writes a set of files together takes
// the same lock file first, so their writes never interleave. The lock goes
// with the process: a writer that is killed releases it.
class FileLock {
 public:
  // Opens `path` (created with mode 0600, and its folders, when missing) and
  // waits up to `wait` for the lock, checking every few milliseconds.
  // locked() tells whether it was had; error() says why not. Never throws.
  FileLock(const std::string& path, std::chrono::milliseconds wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool locked() const { return m_fd >= 0; }
  // Why the lock was not had ("" while it is held).
  const std::string& error() const { return m_error; }

 private:
  int m_fd = -1;
  std::string m_error;
};

}  // namespace tovali
