#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "policy/LinkRuleSet.h"

namespace tovali {

// What one scan of a text for URL comments found.
struct MetaDataScan {
  RuleLists lists;           // entries in the order the comments stand
  std::optional<int> width;  // the first width comment's width (100 to 300)
};

// What one scan found, as views into the upper-cased text it keeps.
struct RuleScan {
  std::shared_ptr<const std::string> text;  // upper-cased
  RuleEntryLists lists;                     // entries in the order the comments stand
  std::optional<int> width;                 // as in MetaDataScan
  // True when no entry holds "<!--URL" or "<!--NAVFRAMEWIDTH=", so that the
  // rebuilt comments of the entries scan back to the same lists.
  bool round_trips = true;
  std::size_t entry_count() const;
};

// Scans `upper_text` (already upper-cased) for URL comments "<!--URL" +
// 3-character number + separator + 2-letter code + separator + value + "-->"
// and the first "<!--NAVFRAMEWIDTH=" comment. Each comment gives number +
// value (the number alone without "-->") in the list of its code; an unknown
// code is dropped. After a comment the search goes on right after its second
// separator, so a marker inside a value is found too; a value still runs to
// the first "-->" after it, so the values of such comments overlap. Entries
// are views into the kept text, hashed from its tails: time and memory are
// linear in the length of the text, however the values overlap.
RuleScan scan_rules(std::string upper_text);

// scan_rules on an upper-cased copy of `text`, with the entries copied out as
// texts. Copies cost the sum of the entries' lengths (for overlapping values
// the square of the page's length): for tests and small texts.
MetaDataScan scan_meta_data(std::string_view text);

// One URL comment as the scanner takes it, in an upper-cased text.
struct UrlComment {
  std::size_t position;  // of its "<!--URL" marker
  std::string_view number;
  std::string_view code;
  std::optional<std::string_view> value;  // none when no "-->" follows
};

// Calls `visit` for every URL comment of `upper_text` (already upper-cased),
// in the order they stand. After a comment the search goes on right after its
// second separator, so a marker inside a value is found too. Linear in the
// length of the text: the position of the next "-->" is remembered.
void for_each_url_comment(std::string_view upper_text,
                          const std::function<void(const UrlComment&)>& visit);

// The width written after a width marker: at most 10 characters, cut at a
// "-->" in them, read as a decimal integer; 100 when that is not a number or
// lies outside 100 to 300.
int parse_nav_frame_width(std::string_view after_marker);

}  // namespace tovali
