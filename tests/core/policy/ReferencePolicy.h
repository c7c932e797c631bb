#pragma once

// Straightforward versions of the link-rule algorithms, written step by step
// as the rules are stated (delete-and-search loop, list scans). The tests
// compare the fast code against them.

#include <optional>
#include <string>
#include <string_view>

#include "base/TextList.h"
#include "policy/LinkRuleSet.h"

namespace tovali::testing {

struct ReferenceScan {
  RuleLists lists;
  std::optional<int> width;
};

// The quadratic loop: find the first marker, delete up to the separator after
// the number, take the code, delete code and separator, take the value up to
// the first "-->", search again from the start of what is left.
ReferenceScan reference_scan(std::string_view text);

struct ReferenceState {
  std::string url_number;
  std::string current_site_url;
  RuleLists lists;
  TextList cust_domains;
  TextList cust_urls;
  TextList exts;
};

bool reference_allow(const ReferenceState& s, std::string_view url);
bool reference_cust_allow(const ReferenceState& s, std::string_view url);
bool reference_suppress(const ReferenceState& s, std::string_view url);

}  // namespace tovali::testing
