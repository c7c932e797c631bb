#include "net/HttpResponse.h"

#include "base/TextList.h"

namespace tovali {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

bool is_status_line(std::string_view line) {
  const std::string_view head = line.substr(0, 8);
  return head == "HTTP/1.0" || head == "HTTP/1.1";
}

std::optional<int> parse_status_code(std::string_view status_line) {
  if (status_line.size() <= 9) return std::nullopt;
  const std::string_view digits = status_line.substr(9, 3);
  if (!all_digits(digits)) return std::nullopt;
  return std::stoi(std::string(digits));
}

std::string parse_reason_phrase(std::string_view status_line) {
  if (status_line.size() <= 13) return "";
  return std::string(status_line.substr(13));
}

bool is_headerless_html(std::string_view line) {
  return starts_with_ignore_case(line, "<HTML>");
}

std::string lower_case(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

std::optional<HeaderField> split_header_field(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && is_blank(value.front())) value.remove_prefix(1);
  return HeaderField{lower_case(line.substr(0, colon)), std::string(value)};
}

std::optional<std::int64_t> parse_content_length(std::string_view value) {
  while (!value.empty() && is_blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && is_blank(value.back())) value.remove_suffix(1);
  if (!all_digits(value) || value.size() > 18) return std::nullopt;
  return std::stoll(std::string(value));
}

}  // namespace tovali
