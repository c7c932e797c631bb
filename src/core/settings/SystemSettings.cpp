#include "settings/SystemSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "base/AtomicFile.h"
#include "base/TextList.h"
#include "base/Translate.h"
#include "settings/SettingValues.h"

namespace tovali {

namespace {

// Reads the whole regular file into `text`; on failure returns false with
// the reason in `error`, or `errno_value` set to ENOENT when it is missing.
bool read_file(const std::string& path, std::string& text, int& errno_value, std::string& error) {
  // Not blocking: a FIFO without a writer must not hold start-up.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    errno_value = errno;
    error = std::strerror(errno_value);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return false;
  }
  text.clear();
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    if (text.size() + static_cast<std::size_t>(n) > kMaxSystemSettingsBytes) {
      error = "larger than " + std::to_string(kMaxSystemSettingsBytes / 1024) + " KiB";
      ::close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace

SystemSettingsText parse_system_settings(std::string_view text) {
  SystemSettingsText parsed;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  const TextList lines = split_lines(text);
  std::unordered_set<std::string> locked_names;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::string_view content = trim_blanks(line);
    if (content.empty() || content.front() == '#') continue;
    const auto equals = line.find('=');
    const std::string_view name =
        equals == std::string_view::npos ? std::string_view() : trim_blanks(line.substr(0, equals));
    if (name.empty()) {
      parsed.ignored_lines.push_back(i + 1);
      continue;
    }
    if (locked_names.count(upper_case(name)) != 0) continue;
    CheckedValue checked = check_setting_value(name, line.substr(equals + 1));
    if (checked.check != ValueCheck::Accepted) {
      parsed.refused_lines.push_back({i + 1, std::move(checked.problem)});
      continue;
    }
    locked_names.insert(upper_case(name));
    parsed.locked.push_back(std::string(name) + "=" + checked.value);
  }
  return parsed;
}

SystemSettingsLoad load_system_settings(const std::string& system_dir) {
  SystemSettingsLoad load;
  if (system_dir.empty()) return load;
  const std::string path = system_dir + kSystemSettingsFile;
  std::string text;
  int errno_value = 0;
  std::string error;
  if (!read_file(path, text, errno_value, error)) {
    if (errno_value == ENOENT) return load;
    load.unreadable = true;
    load.problems =
        fill(tr("{1}: cannot be read ({2}); none of its settings is in force"), {path, error}) +
        "\n";
    return load;
  }
  SystemSettingsText parsed = parse_system_settings(text);
  load.locked = std::move(parsed.locked);
  // Both lists are in file order; their problems are told in that order.
  std::size_t ignored = 0;
  std::size_t refused = 0;
  while (ignored < parsed.ignored_lines.size() || refused < parsed.refused_lines.size()) {
    const bool ignored_next = refused == parsed.refused_lines.size() ||
                              (ignored < parsed.ignored_lines.size() &&
                               parsed.ignored_lines[ignored] < parsed.refused_lines[refused].line);
    if (ignored_next) {
      load.problems += fill(tr("{1}: line {2} is not name=value and locks nothing"),
                            {path, std::to_string(parsed.ignored_lines[ignored++])}) +
                       "\n";
    } else {
      const RefusedSystemLine& line = parsed.refused_lines[refused++];
      load.problems += fill(tr("{1}: line {2}: {3}; it locks nothing"),
                            {path, std::to_string(line.line), line.problem}) +
                       "\n";
    }
  }
  return load;
}

SystemSettingsFile read_system_settings_file(const std::string& system_dir) {
  SystemSettingsFile file;
  int errno_value = 0;
  if (read_file(system_dir + kSystemSettingsFile, file.text, errno_value, file.error)) {
    file.state = SystemFileRead::Read;
  } else {
    file.text.clear();
    file.state = errno_value == ENOENT ? SystemFileRead::Missing : SystemFileRead::Unreadable;
  }
  return file;
}

bool may_write_folder(const std::string& dir) {
  std::string path = dir;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty()) path = ".";
  for (;;) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
      return S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
    }
    // Only a missing name may be created; any other failure (a regular file
    // on the way, no permission to look) refuses.
    if (errno != ENOENT || path == "." || path == "/") return false;
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
      path = ".";
    } else if (slash == 0) {
      path = "/";
    } else {
      path.erase(slash);
    }
  }
}

bool save_system_settings_file(const std::string& system_dir, std::string_view text,
                               std::string& error) {
  try {
    if (!may_write_folder(system_dir)) {
      error = "no permission to write in " + system_dir;
      return false;
    }
    return write_file_atomically(system_dir + kSystemSettingsFile, text, &error);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

}  // namespace tovali
