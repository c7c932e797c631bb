#include "policy/ReportedForm.h"

#include <cctype>

namespace tovali {

namespace {

enum class Part { Path, Query, Fragment };

bool is_special(std::string_view scheme) {
  return scheme == "http" || scheme == "https" || scheme == "ws" || scheme == "wss" ||
         scheme == "ftp";
}

std::string_view default_port(std::string_view scheme) {
  if (scheme == "http" || scheme == "ws") return "80";
  if (scheme == "https" || scheme == "wss") return "443";
  if (scheme == "ftp") return "21";
  return {};
}

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool must_encode(unsigned char c, Part part, bool special) {
  if (c <= 0x20 || c >= 0x7F) return true;
  if (c == '"' || c == '<' || c == '>') return true;
  switch (part) {
    case Part::Path:
      return c == '`' || c == '{' || c == '}';
    case Part::Query:
      return special && c == '\'';
    case Part::Fragment:
      return c == '`';
  }
  return false;
}

void append_encoded(std::string& out, std::string_view text, Part part, bool special) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (must_encode(c, part, special)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
}

// The host and port of a special scheme's authority ("user@Host:80").
void append_authority(std::string& out, std::string_view authority, std::string_view scheme) {
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    out.append(authority.substr(0, at + 1));
    authority.remove_prefix(at + 1);
  }
  // A "]" ends an IPv6 literal; the port's colon comes after it.
  const std::size_t bracket = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  std::string_view host = authority;
  std::string_view port;
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  for (const char c : host) out += lower(c);
  if (!port.empty() && port != default_port(scheme)) {
    out += ':';
    out.append(port);
  }
}

}  // namespace

std::string reported_form_of(std::string_view url) {
  while (!url.empty() && static_cast<unsigned char>(url.front()) <= 0x20) url.remove_prefix(1);
  while (!url.empty() && static_cast<unsigned char>(url.back()) <= 0x20) url.remove_suffix(1);
  std::string text;
  text.reserve(url.size());
  for (const char c : url) {
    if (c != '\t' && c != '\n' && c != '\r') text += c;
  }

  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 ||
      !std::isalpha(static_cast<unsigned char>(text[0])))
    return text;
  for (std::size_t i = 1; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return text;
  }
  std::string scheme;
  for (std::size_t i = 0; i < colon; ++i) scheme += lower(text[i]);
  const bool special = is_special(scheme);

  std::string out = scheme + ':';
  std::string_view rest = std::string_view(text).substr(colon + 1);
  const std::size_t hash = rest.find('#');
  const std::string_view fragment =
      hash == std::string_view::npos ? std::string_view() : rest.substr(hash + 1);
  if (hash != std::string_view::npos) rest = rest.substr(0, hash);
  const std::size_t question = rest.find('?');
  const std::string_view query =
      question == std::string_view::npos ? std::string_view() : rest.substr(question + 1);
  if (question != std::string_view::npos) rest = rest.substr(0, question);

  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    out += "//";
    if (special)
      append_authority(out, authority, scheme);
    else
      out.append(authority);
    if (special && rest.empty()) out += '/';
  }
  append_encoded(out, rest, Part::Path, special);
  if (question != std::string_view::npos) {
    out += '?';
    append_encoded(out, query, Part::Query, special);
  }
  if (hash != std::string_view::npos) {
    out += '#';
    append_encoded(out, fragment, Part::Fragment, special);
  }
  return out;
}

}  // namespace tovali
