#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tovali {

namespace {

RegularFileRead failure(FileReadOutcome outcome, std::string problem) {
  RegularFileRead read;
  read.outcome = outcome;
  read.problem = std::move(problem);
  return read;
}

// Closes the descriptor when the read ends, whichever way.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

RegularFileRead read_regular_file(const std::string& path, std::size_t max_bytes) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    const int error = errno;
    return failure(error == ENOENT ? FileReadOutcome::Missing : FileReadOutcome::Failed,
                   std::strerror(error));
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return failure(FileReadOutcome::Failed, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return failure(FileReadOutcome::NotRegular, "not a regular file");

  RegularFileRead read;
  const std::size_t limit = max_bytes + 1;  // one byte more tells "too large"
  const auto expected = static_cast<std::size_t>(st.st_size);
  read.text.reserve(expected < limit ? expected : limit);
  char buffer[65536];
  while (read.text.size() < limit) {
    const std::size_t want = std::min(sizeof buffer, limit - read.text.size());
    const ssize_t n = ::read(fd.get(), buffer, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failure(FileReadOutcome::Failed, std::strerror(errno));
    }
    if (n == 0) break;
    read.text.append(buffer, static_cast<std::size_t>(n));
  }
  if (read.text.size() > max_bytes) {
    read.outcome = FileReadOutcome::TooLarge;
    read.problem = "larger than " + std::to_string(max_bytes) + " bytes";
    return read;
  }
  read.outcome = FileReadOutcome::Read;
  return read;
}

}  // namespace tovali
