#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/TextList.h"

namespace tovali {

// The languages gettext tries for messages, best first, as it chooses them:
// none when `messages_locale` (the locale in force for LC_MESSAGES) is "C" or
// "POSIX"; otherwise the entries of `language_env` (LANGUAGE, separated by
// ':'), or `messages_locale` itself when LANGUAGE is empty.
TextList message_languages(std::string_view language_env, std::string_view messages_locale);

// The languages of this program's session (LANGUAGE and the LC_MESSAGES
// locale in force), as message_languages() answers for them.
TextList session_languages();

// Which copy of the supplied page `file_name` ("help.html",
// "setuphelp/setuphelp.html") to show: for the first of `languages` that has
// one, "<name>.<language>.html" beside it, trying "de_AT.UTF-8" as "de_AT"
// and then "de"; a language without a copy is passed over, as gettext passes
// over one without a catalogue, and "C", "POSIX" or no language at all answer
// `file_name`. `exists` says whether a copy (a name like the result) is
// there.
std::string localized_page_name(const TextList& languages, std::string_view file_name,
                                const std::function<bool(const std::string&)>& exists);

// The path of the supplied page `file_name` in `program_dir` (ending in "/")
// in the session's language, falling back to `file_name`.
std::string supplied_page_path(const std::string& program_dir, std::string_view file_name);

}  // namespace tovali
