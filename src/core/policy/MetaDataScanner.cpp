#include "policy/MetaDataScanner.h"

#include <algorithm>
#include <string>

#include "base/TextList.h"
#include "settings/Settings.h"

namespace tovali {

namespace {

constexpr std::string_view kUrlMarker = "<!--URL";
constexpr std::string_view kWidthMarker = "<!--NAVFRAMEWIDTH=";
constexpr std::string_view kClose = "-->";

bool is_decimal_integer(std::string_view text) {
  std::size_t i = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) i = 1;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

int parse_nav_frame_width(std::string_view after_marker) {
  std::string_view value = after_marker.substr(0, 10);
  const std::size_t close = value.find(kClose);
  if (close != std::string_view::npos) value = value.substr(0, close);
  if (!is_decimal_integer(value)) return 100;
  // parse_count gives 0 for numbers out of int range, which is below 100.
  const int width = parse_count(value);
  if (width < 100 || width > 300) return 100;
  return width;
}

void ForEachUrlComment(std::string_view t, const std::function<void(const UrlComment&)>& visit) {
  // Where the first "-->" at or after some position stands; the positions
  // asked for only grow, so each stretch of text is searched once.
  std::size_t close_at = 0;
  bool close_known = false;
  std::size_t from = 0;
  while (true) {
    const std::size_t p = t.find(kUrlMarker, from);
    if (p == std::string_view::npos) break;
    const std::size_t number_at = p + kUrlMarker.size();
    const std::string_view number = t.substr(number_at, 3);
    const std::size_t code_at = std::min(t.size(), number_at + number.size() + 1);
    const std::string_view code = t.substr(code_at, 2);
    const std::size_t value_at = std::min(t.size(), code_at + 3);
    if (!close_known || (close_at != std::string_view::npos && close_at < value_at)) {
      close_at = t.find(kClose, value_at);
      close_known = true;
    }
    from = value_at;
    std::optional<std::string_view> value;
    if (close_at != std::string_view::npos) value = t.substr(value_at, close_at - value_at);
    visit(UrlComment{p, number, code, value});
  }
}

MetaDataScan ScanMetaData(std::string_view original) {
  const std::string text = upper_case(original);
  const std::string_view t(text);
  MetaDataScan scan;

  const std::size_t width_at = t.find(kWidthMarker);
  if (width_at != std::string_view::npos) {
    scan.width = parse_nav_frame_width(t.substr(width_at + kWidthMarker.size()));
  }

  ForEachUrlComment(t, [&scan](const UrlComment& c) {
    const std::optional<RuleCode> list = code_from_text(c.code);
    if (!list) return;
    std::string entry(c.number);
    if (c.value) entry.append(*c.value);
    scan.lists[static_cast<std::size_t>(*list)].push_back(std::move(entry));
  });
  return scan;
}

}  // namespace tovali
