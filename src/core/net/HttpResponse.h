#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovali {

// A status line: "HTTP/1.0" or "HTTP/1.1" as its first eight characters.
bool is_status_line(std::string_view line);

// The code in characters 10 to 12 of a status line; nothing when they are
// not decimal digits.
std::optional<int> parse_status_code(std::string_view status_line);

// Characters 14 to the end of a status line ("" when shorter).
std::string parse_reason_phrase(std::string_view status_line);

// True when the line begins with "<HTML>" (any case): the server sent no
// header at all.
bool is_headerless_html(std::string_view line);

// A header field: its name in lower case and its value with leading blanks
// skipped. Nothing for a line without ":".
struct HeaderField {
  std::string name;
  std::string value;
};
std::optional<HeaderField> split_header_field(std::string_view line);

// A Content-Length value: decimal digits (surrounding blanks allowed) that fit
// in 63 bits. Nothing otherwise.
std::optional<std::int64_t> parse_content_length(std::string_view value);

// Letters A-Z lowered, every other byte kept.
std::string lower_case(std::string_view text);

}  // namespace tovali
