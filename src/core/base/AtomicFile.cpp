#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tovali {

namespace {

// mkstemp fills the six X with letters and digits.
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

bool fail(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
  return false;
}

bool is_letter_or_digit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// True when `name` is `base` followed by "." and six letters or digits.
bool is_temporary_name(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + kTemporarySuffix.size()) return false;
  if (name.substr(0, base.size()) != base || name[base.size()] != '.') return false;
  for (char c : name.substr(base.size() + 1)) {
    if (!is_letter_or_digit(c)) return false;
  }
  return true;
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

    std::string temp = path + std::string(kTemporarySuffix);
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
      if (!is_temporary_name(it->path().filename().string(), base)) continue;
      std::error_code remove_error;
      fs::remove(it->path(), remove_error);
    }
  } catch (const std::exception&) {
    // A folder that cannot be listed keeps what it holds.
  }
}

}  // namespace tovali
