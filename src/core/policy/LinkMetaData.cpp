#include "policy/LinkMetaData.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "policy/MetaDataScanner.h"
#include "policy/UrlText.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

// The lookup key of a record: the URL with one "/" at its end dropped.
std::string_view record_key(std::string_view url) {
  if (!url.empty() && url.back() == '/') url.remove_suffix(1);
  return url;
}

}  // namespace

std::size_t LinkMetaData::KeyHash::operator()(const std::string& key) const {
  std::uint64_t h = 1469598103934665603ull;
  for (char c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

bool LinkMetaData::KeyEqual::operator()(const std::string& a, const std::string& b) const {
  return equals_ignore_case(a, b);
}

LinkMetaData::LinkMetaData(const Settings& settings)
    : m_settings(settings), m_rules(LinkRuleSet::empty()) {}

std::optional<int> LinkMetaData::ExtractMetaData(std::string_view text) {
  std::string upper;
  if (m_settings.is_on(keys::use_global_meta_data)) {
    upper = m_settings.value(keys::global_meta_data);
    upper.append(text);
    upper = upper_case(upper);
  } else {
    upper = upper_case(text);
  }
  RuleScan scan = scan_rules(std::move(upper));
  if (scan.entry_count() > 0) {
    m_rules = std::make_shared<const LinkRuleSet>(std::move(scan.text), std::move(scan.lists),
                                                  scan.round_trips);
  } else {
    m_rules = LinkRuleSet::empty();
  }
  return scan.width;
}

void LinkMetaData::set_url_number_from_link(std::string_view url) {
  m_url_number = url_number_of(url);
}

void LinkMetaData::SaveMetaData(std::string_view url) {
  std::string key(record_key(url));
  auto found = m_saved.find(key);
  if (found != m_saved.end()) m_saved.erase(found);
  m_saved.emplace(std::move(key), Record{m_url_number, m_rules, m_next_sequence++});
}

std::optional<int> LinkMetaData::LoadMetaData(std::string_view url) {
  const auto found = m_saved.find(std::string(record_key(url)));
  if (found == m_saved.end()) return std::nullopt;
  // Keep the record alive while the current rules are replaced.
  const Record record = found->second;
  m_url_number = record.url_number;
  if (!m_settings.is_on(keys::use_global_meta_data) && record.rules->round_trips()) {
    // Scanning the rebuilt record would give back exactly these lists.
    m_rules = record.rules;
    return std::nullopt;
  }
  return ExtractMetaData(record.rules->record_text(m_url_number.empty() ? "***" : m_url_number));
}

bool LinkMetaData::has_saved(std::string_view url) const {
  return m_saved.count(std::string(record_key(url))) != 0;
}

TextList LinkMetaData::SavedMetaDataURLs() const {
  std::vector<std::pair<std::size_t, const std::string*>> order;
  order.reserve(m_saved.size());
  for (const auto& [key, record] : m_saved) order.emplace_back(record.sequence, &key);
  std::sort(order.begin(), order.end());
  TextList urls;
  urls.reserve(order.size());
  for (const auto& item : order) urls.push_back(*item.second);
  return urls;
}

void LinkMetaData::set_current_site_url(std::string url) {
  m_current_site_url = std::move(url);
  m_current_site_domain = web_domain(m_current_site_url);
}

}  // namespace tovali
