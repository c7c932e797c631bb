#include "policy/PageLoadJudge.h"

#include <string>

#include "policy/AdmissionRules.h"
#include "policy/LinkMetaData.h"
#include "policy/ParentLists.h"
#include "policy/UrlText.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

struct PageLoadJudge::Compiled {
  // The rules in force arrive with the global rules already in them.
  Settings no_global_rules{TextList{"use_global_meta_data=0"}};
  ParentLists lists;
  LinkMetaData meta{no_global_rules};
  TextList program_prefixes;
  bool strict = false;
};

namespace {

std::string_view without_fragment(std::string_view url) {
  return url.substr(0, url.find('#'));
}

// A WebSocket address in the form the lists judge ("ws:" as "http:").
std::string as_web_url(std::string_view url) {
  if (begins_upper(url, "WS://")) return "http://" + std::string(url.substr(5));
  if (begins_upper(url, "WSS://")) return "https://" + std::string(url.substr(6));
  return std::string(url);
}

bool begins_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

PageLoadJudge::PageLoadJudge() = default;
PageLoadJudge::~PageLoadJudge() = default;

void PageLoadJudge::set_rules(const PageLoadRules& rules) {
  auto compiled = std::make_unique<Compiled>();
  const Settings settings(rules.setting_lines);
  compiled->lists.UpdateLists(settings);
  compiled->strict = settings.is_on(keys::strict_page_loads);
  compiled->program_prefixes = rules.program_prefixes;
  compiled->meta.ExtractMetaData(rules.rules_text);
  compiled->meta.set_url_number(rules.url_number);
  compiled->meta.set_current_site_url(rules.site_url);
  m_compiled = std::move(compiled);
}

bool PageLoadJudge::has_rules() const {
  return m_compiled != nullptr;
}

LoadVerdict PageLoadJudge::judge(std::string_view page_url, std::string_view request_url) const {
  if (begins_upper(request_url, "DATA:") || begins_upper(request_url, "BLOB:") ||
      begins_upper(request_url, "ABOUT:"))
    return LoadVerdict::Admit;
  if (!m_compiled) return LoadVerdict::Refuse;
  if (begins_upper(request_url, "FILE:")) {
    for (const auto& prefix : m_compiled->program_prefixes)
      if (!prefix.empty() && begins_with(request_url, prefix)) return LoadVerdict::Admit;
    return LoadVerdict::Refuse;
  }
  if (!page_url.empty() && without_fragment(request_url) == without_fragment(page_url))
    return LoadVerdict::Admit;
  const std::string url = as_web_url(request_url);
  if (!Cust_Allow_B_URL(m_compiled->lists, url)) return LoadVerdict::Refuse;
  if (!m_compiled->strict) return LoadVerdict::Admit;
  const std::string domain = web_domain(url);
  if (!domain.empty() && domain == web_domain(page_url)) return LoadVerdict::Admit;
  return Allow_B_URL(m_compiled->meta, url) ? LoadVerdict::Admit : LoadVerdict::Refuse;
}

}  // namespace tovali
