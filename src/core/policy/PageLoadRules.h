#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/TextList.h"

namespace tovali {

class LinkMetaData;
class Settings;

// Everything the web process needs to judge what pages load: the parent's
// three lists and `strict_page_loads` (as settings lines), the beginnings of
// the program's own pages, and the link rules in force (the same for every
// frame and window). Never holds the password or any other setting.
struct PageLoadRules {
  TextList setting_lines;     // the parent's lists and `strict_page_loads`
  TextList program_prefixes;  // "file://" URL beginnings of the program's pages
  std::string url_number;     // `URLNumber`
  std::string site_url;       // `CurrentSiteURL`
  std::string rules_text;     // the rules in force as URL comments

  friend bool operator==(const PageLoadRules& a, const PageLoadRules& b) {
    return a.setting_lines == b.setting_lines && a.program_prefixes == b.program_prefixes &&
           a.url_number == b.url_number && a.site_url == b.site_url && a.rules_text == b.rules_text;
  }
  friend bool operator!=(const PageLoadRules& a, const PageLoadRules& b) { return !(a == b); }
};

// The rules of `settings` and `meta` for the web process. Only the keys the
// judge reads are copied. Linear in the size of the lists and rules.
PageLoadRules page_load_rules(const Settings& settings, const LinkMetaData& meta,
                              const TextList& program_prefixes);

// The rules as one text for a message between processes, and back.
// decode_page_load_rules gives nullopt for a text encode_page_load_rules
// did not make (a wrong header, a count beyond the lines). Both linear.
std::string encode_page_load_rules(const PageLoadRules& rules);
std::optional<PageLoadRules> decode_page_load_rules(std::string_view text);

}  // namespace tovali
