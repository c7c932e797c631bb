#include "cli/RulesLint.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>

#include "base/TextList.h"
#include "base/Translate.h"
#include "policy/LinkRuleSet.h"
#include "policy/MetaDataScanner.h"
#include "policy/UrlText.h"
#include "settings/Settings.h"

namespace tovali {

namespace {

constexpr std::string_view kWidthMarker = "<!--NAVFRAMEWIDTH=";
constexpr std::size_t kMaxQuoted = 200;

// Line numbers of offsets into one text.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') m_starts.push_back(i + 1);
    }
  }
  std::size_t line_of(std::size_t offset) const {
    return static_cast<std::size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) -
                                    m_starts.begin());
  }

 private:
  std::vector<std::size_t> m_starts{0};
};

// Counts of the characters that no host name holds ("/", spaces, "<", ...)
// before every offset of one text, so that whether a stretch of it holds one
// is known at once: the values of comments left open overlap, and scanning
// each would take the square of the page's length.
class NonHostCounts {
 public:
  explicit NonHostCounts(std::string_view text) : m_counts(text.size() + 1) {
    for (std::size_t i = 0; i < text.size(); ++i)
      m_counts[i + 1] = m_counts[i] + (in_host(text[i]) ? 0 : 1);
  }
  bool holds_non_host(std::size_t from, std::size_t to) const {
    return m_counts[to] != m_counts[from];
  }

 private:
  // Letters, digits, ".-_", a port's ":", an IPv6 address's brackets, and
  // the bytes of a name written in another script.
  static bool in_host(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || byte >= 0x80 || c == '.' || c == '-' || c == '_' || c == ':' ||
           c == '[' || c == ']';
  }

  std::vector<std::uint32_t> m_counts;
};

// The longest host name; a longer value is never a domain, whatever it holds.
constexpr std::size_t kMaxHostName = 253;

// `text` in double quotes, cut to its first kMaxQuoted characters followed by
// "..." when longer, so that one warning stays short whatever the value.
std::string quoted(std::string_view text) {
  if (text.size() <= kMaxQuoted) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, kMaxQuoted)) + "...\"";
}

// The warning for the upper-case "AD" or "SD" value `value` (`written` as
// the file has it), "" when some URL's domain (ExtractDomain) can equal it.
// A public suffix is the domain of the bare suffix alone, never of a site.
std::string domain_value_warning(RuleCode code, std::string_view value, std::string_view written) {
  if (value.find('/') == std::string_view::npos && is_public_suffix(value)) {
    return fill(tr("{1} is a public suffix and names no site"), {written});
  }
  const std::string_view domain = domain_of_upper(value);
  if (domain == value) return std::string();
  std::string text =
      fill(tr("{1} value {2} is not a domain and never matches"), {code_text(code), quoted(value)});
  if (value.find('/') == std::string_view::npos && !domain.empty()) {
    text += fill(tr(": the domain of that host is {1}"), {quoted(domain)});
  }
  return text;
}

}  // namespace

std::pair<std::size_t, std::string_view> menu_body(std::string_view file) {
  const std::string upper = upper_case(file);
  const std::size_t start = upper.find("<BODY");
  if (start == std::string::npos) return {0, file};
  const std::size_t last_close = upper.rfind("</BODY>");
  if (last_close == std::string::npos || last_close < start) return {start, file.substr(start)};
  return {start, file.substr(start, last_close + 7 - start)};
}

std::vector<LintWarning> lint_menu_page(std::string_view file) {
  const auto [offset, body] = menu_body(file);
  const std::string text = upper_case(body);
  const std::string_view t(text);
  const std::string_view written_body = body;  // t as the file has it
  const LineIndex lines(file);
  const NonHostCounts non_host(t);
  std::vector<std::pair<std::size_t, std::string>> found;  // offset into t, text
  auto warn = [&](std::size_t at, std::string message) {
    found.emplace_back(at, std::move(message));
  };

  // URL comments, taken where the program takes them.
  std::set<std::string> numbers;
  for_each_url_comment(t, [&](const UrlComment& c) {
    const std::optional<RuleCode> list = code_from_text(c.code);
    if (!list) {
      warn(c.position, fill(tr("URL comment with unknown code {1} is ignored"), {quoted(c.code)}));
      return;
    }
    numbers.insert(std::string(c.number));
    if (!c.value) {
      warn(c.position, fill(tr("URL comment without \"-->\": its entry is the number {1} alone"),
                            {quoted(c.number)}));
      return;
    }
    if (*list == RuleCode::AD || *list == RuleCode::SD) {
      const auto from = static_cast<std::size_t>(c.value->data() - t.data());
      std::string problem;
      if (c.value->size() > kMaxHostName || non_host.holds_non_host(from, from + c.value->size())) {
        problem = fill(tr("{1} value {2} is not a domain and never matches"),
                       {code_text(*list), quoted(*c.value)});
      } else {
        problem = domain_value_warning(*list, *c.value, written_body.substr(from, c.value->size()));
      }
      if (!problem.empty()) warn(c.position, std::move(problem));
    }
  });

  // Width comments: only the first counts.
  bool first_width = true;
  for (std::size_t at = t.find(kWidthMarker); at != std::string_view::npos;
       at = t.find(kWidthMarker, at + 1)) {
    const std::string_view after = t.substr(at + kWidthMarker.size());
    if (!first_width) {
      warn(at, tr("width comment is ignored: only the first one counts"));
      continue;
    }
    first_width = false;
    std::string_view value = after.substr(0, 10);
    value = value.substr(0, value.find("-->"));
    if (parse_nav_frame_width(after) == 100 && parse_count(value) != 100) {
      warn(at, fill(tr("width {1} is not a number from 100 to 300; the width is 100"),
                    {quoted(value)}));
    }
  }

  // Menu links ("HTTP" + number + "://") outside comments. A comment runs
  // from "<!--" to the first "-->" after it; one walk finds them in order.
  std::size_t comment = t.find("<!--");
  std::size_t comment_end = 0;
  for (std::size_t at = t.find("HTTP"); at != std::string_view::npos; at = t.find("HTTP", at + 1)) {
    while (comment < at) {
      const std::size_t end = t.find("-->", comment + 4);
      comment_end = end == std::string_view::npos ? t.size() : end + 3;
      comment = t.find("<!--", comment_end);
    }
    if (at < comment_end) continue;
    const std::string_view link = t.substr(at, 10);
    if (link.size() < 10 || link.substr(7) != "://" || link.substr(0, 7) == "HTTP://") continue;
    const std::string number(link.substr(4, 3));
    if (number == "NAV") continue;  // a page for the navigation frame itself
    if (numbers.count(number) == 0) {
      warn(at, fill(tr("menu link with number {1} has no URL comment: the link admits nothing"),
                    {quoted(number)}));
    }
  }

  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<LintWarning> warnings;
  warnings.reserve(found.size());
  for (auto& [at, message] : found) {
    warnings.push_back(LintWarning{lines.line_of(offset + at), std::move(message)});
  }
  return warnings;
}

}  // namespace tovali
