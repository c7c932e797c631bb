#include "base/PageLanguage.h"

#include <sys/stat.h>

#include <clocale>
#include <cstdlib>

namespace tovali {

namespace {

bool is_untranslated(std::string_view language) {
  return language == "C" || language == "POSIX" || language.substr(0, 2) == "C.";
}

// "de_AT.UTF-8@euro" -> {"de_AT", "de"}; "de" -> {"de"}.
TextList language_forms(std::string_view language) {
  const std::size_t end = language.find_first_of(".@");
  const std::string_view plain = language.substr(0, end);
  TextList forms;
  if (plain.empty()) return forms;
  forms.emplace_back(plain);
  const std::size_t territory = plain.find('_');
  if (territory != std::string_view::npos && territory > 0)
    forms.emplace_back(plain.substr(0, territory));
  return forms;
}

bool is_plain_name(const std::string& form) {
  for (char c : form) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

TextList message_languages(std::string_view language_env, std::string_view messages_locale) {
  TextList languages;
  if (messages_locale.empty() || messages_locale == "C" || messages_locale == "POSIX")
    return languages;
  if (language_env.empty()) {
    languages.emplace_back(messages_locale);
    return languages;
  }
  std::size_t start = 0;
  while (start <= language_env.size()) {
    const std::size_t colon = language_env.find(':', start);
    const std::size_t end = colon == std::string_view::npos ? language_env.size() : colon;
    if (end > start) languages.emplace_back(language_env.substr(start, end - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  return languages;
}

TextList session_languages() {
  const char* language = std::getenv("LANGUAGE");
  const char* locale = std::setlocale(LC_MESSAGES, nullptr);
  return message_languages(language == nullptr ? "" : language, locale == nullptr ? "" : locale);
}

std::string localized_page_name(const TextList& languages, std::string_view file_name,
                                const std::function<bool(const std::string&)>& exists) {
  std::string name(file_name);
  const std::size_t dot = name.rfind('.');
  const std::size_t slash = name.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
  for (const std::string& language : languages) {
    if (is_untranslated(language)) return name;
    for (const std::string& form : language_forms(language)) {
      if (!is_plain_name(form)) continue;
      std::string candidate = name.substr(0, dot) + "." + form + name.substr(dot);
      if (exists(candidate)) return candidate;
    }
  }
  return name;
}

std::string supplied_page_path(const std::string& program_dir, std::string_view file_name) {
  const auto is_file = [&program_dir](const std::string& name) {
    struct stat info {};
    return ::stat((program_dir + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
  };
  return program_dir + localized_page_name(session_languages(), file_name, is_file);
}

}  // namespace tovali
