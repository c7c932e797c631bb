#include "base/Translate.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <vector>

namespace tovali {

std::string locale_dir(const char* installed_dir) {
  const char* own = std::getenv("TOVALI_LOCALE_DIR");
  if (own != nullptr && *own != '\0') return own;
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
