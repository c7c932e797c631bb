#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tovali {

namespace {
bool fail(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
  return false;
}
}  // namespace

bool make_directories(const std::string& dir, std::string* error) {
  if (dir.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    if (error) *error = "cannot create folder " + dir + ": " + ec.message();
    return false;
  }
  return true;
}

bool write_file_atomically(const std::string& path, std::string_view content, std::string* error) {
  try {
    const auto parent = std::filesystem::path(path).parent_path().string();
    if (!make_directories(parent, error)) return false;

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(error, "cannot create a temporary file beside " + path, errno);
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
      const ssize_t n = ::write(fd, data, left);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(error, "cannot write " + temp, err);
      }
      data += n;
      left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::fchmod(fd, 0644) != 0) {
      const int err = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      return fail(error, "cannot flush " + temp, err);
    }
    if (::close(fd) != 0) {
      const int err = errno;
      ::unlink(temp.c_str());
      return fail(error, "cannot close " + temp, err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
      const int err = errno;
      ::unlink(temp.c_str());
      return fail(error, "cannot replace " + path, err);
    }
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

}  // namespace tovali
