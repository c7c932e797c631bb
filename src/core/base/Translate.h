#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text kept in a constant for the message catalogue; the text is
// translated where it is shown, with tr().
#define N_(text) text

namespace tovali {

// The program's message catalogue (share/locale/<lang>/LC_MESSAGES/).
inline constexpr const char* kTextDomain = "tovali-explorer";

// Where a program looks for its catalogues: TOVALI_LOCALE_DIR when it is set
// and not empty (the tests); else "share/locale" beside the folder of the
// executable when it exists, as in an installed tree (/usr/bin next to
// /usr/share, whatever the prefix); else the folder "locale" in the
// executable's own folder, as in the build folder; else `installed_dir`.
std::string locale_dir(const char* installed_dir);

// Takes the session's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), keeps the
// numbers the program writes and reads in the C form (LC_NUMERIC stays "C"),
// and binds the catalogue of kTextDomain in `dir` as UTF-8. Call once, first
// thing in main().
void start_translations(const std::string& dir);

// `text` in the session's language, or `text` itself when the catalogue has
// no translation (always for the empty text). The result lives as long as
// the program.
const char* tr(const char* text);

// `text` with each of its lines (the parts between '\r' and '\n') translated
// on its own, the blanks around a line kept: for texts the core puts
// together from marked lines.
std::string tr_lines(std::string_view text);

// The form of `one` (n == 1) or `many` for the count `n`, translated.
const char* tr_plural(const char* one, const char* many, unsigned long n);

// `pattern` with "{1}", "{2}", ... replaced by the values in order; other
// braces stay. For translated texts whose parts a language may reorder.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace tovali
