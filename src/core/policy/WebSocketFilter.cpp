#include "policy/WebSocketFilter.h"

#include <cctype>
#include <set>

#include "policy/ParentLists.h"
#include "settings/Settings.h"

namespace tovali {

namespace {

// The domain as a pattern of the content blocker's regular expressions
// (dots escaped, written twice for JSON), or "" when it holds anything but
// letters, digits, "-", "." and the ":" of a port.
std::string domain_pattern(const std::string& domain) {
  std::string pattern;
  for (const char c : domain) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '.') {
      pattern += "\\\\.";
    } else if (std::isalnum(u) || c == '-' || c == ':') {
      pattern += static_cast<char>(std::tolower(u));
    } else {
      return {};
    }
  }
  return pattern;
}

void add_block(std::string& json, const std::string& trigger) {
  if (json.size() > 1) json += ",";
  json += "{\"trigger\":{" + trigger + "},\"action\":{\"type\":\"block\"}}";
}

}  // namespace

std::string websocket_filter_json(const PageLoadRules& rules) {
  const Settings settings(rules.setting_lines);
  ParentLists lists;
  lists.UpdateLists(settings);
  std::set<std::string> domains;
  for (const auto& domain : prohibited_domains_of(lists.CustProhibitedDomains())) {
    const std::string pattern = domain_pattern(domain);
    if (!pattern.empty()) domains.insert(pattern);
  }
  std::string json = "[";
  for (const auto& pattern : domains)
    add_block(json, "\"url-filter\":\"^wss?://([^/]*[.@])?" + pattern + "[:/]\"");
  if (json.size() == 1) return {};
  return json + "]";
}

}  // namespace tovali
