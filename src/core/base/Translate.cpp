#include "base/Translate.h"

#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <vector>

namespace tovali {

namespace {

bool is_folder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder of the running executable, ending in "/"; "" when unknown.
std::string executable_dir() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return std::string();
  const std::string exe(path, static_cast<std::size_t>(length));
  return exe.substr(0, exe.rfind('/') + 1);
}

}  // namespace

std::string locale_dir(const char* installed_dir) {
  const char* own = std::getenv("TOVALI_LOCALE_DIR");
  if (own != nullptr && *own != '\0') return own;
  const std::string dir = executable_dir();
  if (dir.size() > 1) {
    // "/usr/bin/" -> "/usr/"
    const std::string parent = dir.substr(0, dir.rfind('/', dir.size() - 2) + 1);
    if (!parent.empty() && is_folder(parent + "share/locale")) return parent + "share/locale";
    if (is_folder(dir + "locale")) return dir + "locale";
  }
  return installed_dir;
}

void start_translations(const std::string& dir) {
  std::setlocale(LC_ALL, "");
  // Settings files, HTTP and the report hold numbers in the C form.
  std::setlocale(LC_NUMERIC, "C");
  bindtextdomain(kTextDomain, dir.c_str());
  bind_textdomain_codeset(kTextDomain, "UTF-8");
  textdomain(kTextDomain);
}

const char* tr(const char* text) {
  if (text == nullptr || *text == '\0') return text;
  return dgettext(kTextDomain, text);
}

std::string tr_lines(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    const std::string_view line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
      out += line;
    } else {
      const std::size_t last = line.find_last_not_of(" \t");
      out += line.substr(0, first);
      out += tr(std::string(line.substr(first, last + 1 - first)).c_str());
      out += line.substr(last + 1);
    }
    if (end == text.size()) break;
    out += text[end];
    start = end + 1;
  }
  return out;
}

const char* tr_plural(const char* one, const char* many, unsigned long n) {
  return dngettext(kTextDomain, one, many, n);
}

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
  const std::vector<std::string_view> list(values);
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
        pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const std::size_t index = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (index < list.size()) {
        out += list[index];
        i += 2;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace tovali
