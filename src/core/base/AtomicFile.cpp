#include "base/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tovali {

namespace {

// mkstemp fills the six X with letters and digits.
constexpr std::string_view kRandomPart = "XXXXXX";

bool fail(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
  return false;
}

bool is_letter_or_digit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool is_random_part(std::string_view text) {
  if (text.size() != kRandomPart.size()) return false;
  for (char c : text) {
    if (!is_letter_or_digit(c)) return false;
  }
  return true;
}

// True when a process with that id runs (or cannot be asked about).
bool process_runs(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return false;
  long pid = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    pid = pid * 10 + (c - '0');
  }
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// True when `name` is a temporary of `base` whose writer is gone: `base` +
// "." + six letters or digits, or `base` + "." + the id of a process that no
// longer runs + "." + six letters or digits.
bool is_leftover_temporary(std::string_view name, std::string_view base) {
  if (name.size() <= base.size() + 1 || name.substr(0, base.size()) != base ||
      name[base.size()] != '.') {
    return false;
  }
  const std::string_view rest = name.substr(base.size() + 1);
  if (is_random_part(rest)) return true;
  const auto dot = rest.find('.');
  if (dot == std::string_view::npos || !is_random_part(rest.substr(dot + 1))) return false;
  const std::string_view pid = rest.substr(0, dot);
  if (pid.empty() || pid.find_first_not_of("0123456789") != std::string_view::npos) return false;
  return !process_runs(pid);
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

std::string write_temporary_beside(const std::string& path, std::string_view content,
                                   std::string* error) {
  try {
    const auto parent = std::filesystem::path(path).parent_path().string();
    if (!make_directories(parent, error)) return {};

    std::string temp = path + "." + std::to_string(::getpid()) + "." + std::string(kRandomPart);
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
      fail(error, "cannot create a temporary file beside " + path, errno);
      return {};
    }
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
      const ssize_t n = ::write(fd, data, left);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        fail(error, "cannot write " + temp, err);
        return {};
      }
      data += n;
      left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::fchmod(fd, 0644) != 0) {
      const int err = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      fail(error, "cannot flush " + temp, err);
      return {};
    }
    if (::close(fd) != 0) {
      const int err = errno;
      ::unlink(temp.c_str());
      fail(error, "cannot close " + temp, err);
      return {};
    }
    return temp;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return {};
  }
}

bool replace_with_temporary(const std::string& temporary, const std::string& path,
                            std::string* error) {
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temporary.c_str());
    return fail(error, "cannot replace " + path, err);
  }
  try {
    const auto parent = std::filesystem::path(path).parent_path().string();
    return sync_folder(parent.empty() ? "." : parent, error);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool sync_folder(const std::string& dir, std::string* error) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return fail(error, "cannot open folder " + dir, errno);
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const int err = errno;
    ::close(fd);
    return fail(error, "cannot flush folder " + dir, err);
  }
  ::close(fd);
  return true;
}

bool write_file_atomically(const std::string& path, std::string_view content, std::string* error) {
  const std::string temp = write_temporary_beside(path, content, error);
  return !temp.empty() && replace_with_temporary(temp, path, error);
}

void remove_leftover_temporaries(const std::string& path) {
  try {
    namespace fs = std::filesystem;
    const fs::path file(path);
    const std::string base = file.filename().string();
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
      std::error_code status_error;
      if (!it->is_regular_file(status_error) || it->is_symlink(status_error)) continue;
      if (!is_leftover_temporary(it->path().filename().string(), base)) continue;
      std::error_code remove_error;
      fs::remove(it->path(), remove_error);
    }
  } catch (const std::exception&) {
    // A folder that cannot be listed keeps what it holds.
  }
}

}  // namespace tovali
