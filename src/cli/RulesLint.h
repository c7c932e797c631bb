#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tovali {

// One finding of the menu-page check.
struct LintWarning {
  std::size_t line = 0;  // 1-based line of the file
  std::string text;
};

// The part of a menu file that the program reads: from the first "<body" to
// the end of the last "</body>" (letter case ignored); from the first
// "<body" to the end when no "</body>" follows it; the whole file when it
// has no "<body". Returns the offset of that part and its text.
std::pair<std::size_t, std::string_view> menu_body(std::string_view file);

// Checks the URL comments of a menu file for what can never do what its
// author meant: an "AD" or "SD" value that no URL's domain (ExtractDomain)
// can equal or that is a public suffix ("co.uk"), a menu link whose number
// has no comment of a known code, an unknown code, a comment without "-->",
// a width comment that gives no width in 100 to 300 or comes after the first
// one. Warnings are in file order; a value is quoted up to its first 200
// characters, then "...". Time and memory are linear in the length of the
// file.
std::vector<LintWarning> lint_menu_page(std::string_view file);

}  // namespace tovali
