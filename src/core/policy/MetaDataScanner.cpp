#include "policy/MetaDataScanner.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/TextList.h"
#include "policy/RuleHash.h"
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

// Every position of `marker` in `text`, in order.
std::vector<std::size_t> positions_of(std::string_view text, std::string_view marker) {
  std::vector<std::size_t> positions;
  for (std::size_t at = text.find(marker); at != std::string_view::npos;
       at = text.find(marker, at + 1)) {
    positions.push_back(at);
  }
  return positions;
}

// True when one of `positions` of a marker of `size` characters lies wholly
// within text[from, to).
bool marker_within(const std::vector<std::size_t>& positions, std::size_t size, std::size_t from,
                   std::size_t to) {
  const auto it = std::lower_bound(positions.begin(), positions.end(), from);
  return it != positions.end() && *it + size <= to;
}

}  // namespace

std::size_t RuleScan::entry_count() const {
  std::size_t n = 0;
  for (const auto& list : lists) n += list.size();
  return n;
}

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

void for_each_url_comment(std::string_view t, const std::function<void(const UrlComment&)>& visit) {
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

RuleScan scan_rules(std::string upper_text) {
  RuleScan scan;
  const auto text = std::make_shared<const std::string>(std::move(upper_text));
  const std::string_view t(*text);

  const std::size_t width_at = t.find(kWidthMarker);
  if (width_at != std::string_view::npos) {
    scan.width = parse_nav_frame_width(t.substr(width_at + kWidthMarker.size()));
  }

  const TailHashes tails(t);
  const std::vector<std::size_t> url_markers = positions_of(t, kUrlMarker);
  const std::vector<std::size_t> width_markers = positions_of(t, kWidthMarker);
  for_each_url_comment(t, [&](const UrlComment& c) {
    const std::optional<RuleCode> list = code_from_text(c.code);
    if (!list) return;
    RuleEntry entry;
    entry.number = c.number;
    std::uint64_t value_hash = 0;
    if (c.value) {
      entry.value = *c.value;
      const auto from = static_cast<std::size_t>(c.value->data() - t.data());
      const std::size_t to = from + c.value->size();
      value_hash = tails.of(from, to);
      if (marker_within(url_markers, kUrlMarker.size(), from, to) ||
          marker_within(width_markers, kWidthMarker.size(), from, to)) {
        scan.round_trips = false;
      }
    }
    entry.hash = RuleHash::join(RuleHash::of(entry.number), entry.number.size(), value_hash);
    // A marker that begins in the number and ends in the value.
    const std::string joined = std::string(entry.number).append(entry.value.substr(0, 17));
    if (joined.find(kUrlMarker) != std::string::npos ||
        joined.find(kWidthMarker) != std::string::npos) {
      scan.round_trips = false;
    }
    scan.lists[static_cast<std::size_t>(*list)].push_back(entry);
  });
  scan.text = text;
  return scan;
}

MetaDataScan scan_meta_data(std::string_view original) {
  const RuleScan rules = scan_rules(upper_case(original));
  MetaDataScan scan;
  scan.width = rules.width;
  for (std::size_t i = 0; i < kRuleListCount; ++i) {
    for (const RuleEntry& entry : rules.lists[i]) scan.lists[i].push_back(entry.text());
  }
  return scan;
}

}  // namespace tovali
