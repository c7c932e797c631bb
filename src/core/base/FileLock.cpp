#include "base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "base/AtomicFile.h"

namespace tovali {

namespace {
constexpr std::chrono::milliseconds kRetryEvery{5};
}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) {
  try {
    if (!make_directories(std::filesystem::path(path).parent_path().string(), &m_error)) return;
  } catch (const std::exception& e) {
    m_error = e.what();
    return;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    m_error = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EINTR) continue;
    if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      m_error = err == EWOULDBLOCK ? "another program held " + path + " too long"
                                   : "cannot lock " + path + ": " + std::strerror(err);
      return;
    }
    std::this_thread::sleep_for(kRetryEvery);
  }
  m_fd = fd;
}

FileLock::~FileLock() {
  // Closing the only descriptor releases the lock.
  if (m_fd >= 0) ::close(m_fd);
}

}  // namespace tovali
