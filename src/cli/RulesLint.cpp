#include "cli/RulesLint.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "base/TextList.h"
#include "policy/LinkRuleSet.h"
#include "policy/MetaDataScanner.h"
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

// Counts of "/" and "." before every offset of one text, so that what a
// stretch of it holds is known at once: the values of comments left open
// overlap, and scanning each would take the square of the page's length.
class CharCounts {
 public:
  explicit CharCounts(std::string_view text) : m_slashes(text.size() + 1), m_dots(text.size() + 1) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      m_slashes[i + 1] = m_slashes[i] + (text[i] == '/' ? 1 : 0);
      m_dots[i + 1] = m_dots[i] + (text[i] == '.' ? 1 : 0);
    }
  }
  // True when some URL's two-label domain can equal text[from, to): a host
  // never holds "/", and a host with two or more dots gives only its last
  // two labels.
  bool can_be_a_domain(std::size_t from, std::size_t to) const {
    return m_slashes[to] == m_slashes[from] && m_dots[to] - m_dots[from] < 2;
  }

 private:
  std::vector<std::uint32_t> m_slashes;
  std::vector<std::uint32_t> m_dots;
};

// `text` in double quotes, cut to its first kMaxQuoted characters followed by
// "..." when longer, so that one warning stays short whatever the value.
std::string quoted(std::string_view text) {
  if (text.size() <= kMaxQuoted) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, kMaxQuoted)) + "...\"";
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
  const LineIndex lines(file);
  const CharCounts counts(t);
  std::vector<std::pair<std::size_t, std::string>> found;  // offset into t, text
  auto warn = [&](std::size_t at, std::string message) {
    found.emplace_back(at, std::move(message));
  };

  // URL comments, taken where the program takes them.
  std::set<std::string> numbers;
  ForEachUrlComment(t, [&](const UrlComment& c) {
    const std::optional<RuleCode> list = code_from_text(c.code);
    if (!list) {
      warn(c.position, "URL comment with unknown code " + quoted(c.code) + " is ignored");
      return;
    }
    numbers.insert(std::string(c.number));
    if (!c.value) {
      warn(c.position,
           "URL comment without \"-->\": its entry is the number " + quoted(c.number) + " alone");
      return;
    }
    const auto from = static_cast<std::size_t>(c.value->data() - t.data());
    if ((*list == RuleCode::AD || *list == RuleCode::SD) &&
        !counts.can_be_a_domain(from, from + c.value->size())) {
      warn(c.position, std::string(code_text(*list)) + " value " + quoted(*c.value) +
                           " is not a two-label domain and never matches");
    }
  });

  // Width comments: only the first counts.
  bool first_width = true;
  for (std::size_t at = t.find(kWidthMarker); at != std::string_view::npos;
       at = t.find(kWidthMarker, at + 1)) {
    const std::string_view after = t.substr(at + kWidthMarker.size());
    if (!first_width) {
      warn(at, "width comment is ignored: only the first one counts");
      continue;
    }
    first_width = false;
    std::string_view value = after.substr(0, 10);
    value = value.substr(0, value.find("-->"));
    if (parse_nav_frame_width(after) == 100 && parse_count(value) != 100) {
      warn(at, "width " + quoted(value) + " is not a number from 100 to 300; the width is 100");
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
      warn(at, "menu link with number " + quoted(number) +
                   " has no URL comment: the link admits nothing");
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
