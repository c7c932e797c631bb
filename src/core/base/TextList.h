#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tovali {

// An ordered list of text lines; duplicates allowed. Texts are byte strings.
using TextList = std::vector<std::string>;

// Upper-cases the letters a to z only; every other byte stays as it is.
std::string upper_case(std::string_view text);

// Byte-wise equality where a-z and A-Z count as the same letter.
bool equals_ignore_case(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, letters compared without case.
bool starts_with_ignore_case(std::string_view text, std::string_view prefix);

// `text` without the spaces and tabs at its start and end (a view into it).
std::string_view trim_blanks(std::string_view text);

// True when `text` is one or more of the digits 0 to 9 and nothing else.
bool all_digits(std::string_view text);

// A list "holds" a text when one entry equals it without regard to case.
bool holds(const TextList& list, std::string_view text);

// Splits text into lines at CR LF, lone CR or lone LF. A final line ending
// does not start another line; an empty text gives no lines.
TextList split_lines(std::string_view text);

// Reads a whole regular file of at most `max_bytes` bytes as lines (CR LF,
// CR or LF), through read_regular_file. Returns false when the file is
// missing, cannot be read, is not a regular file (a FIFO or a device returns
// at once) or is larger; `lines` is then left unchanged.
bool read_text_lines(const std::string& path, std::size_t max_bytes, TextList& lines);

// Joins lines, each followed by CR LF.
std::string join_crlf(const TextList& lines);

}  // namespace tovali
