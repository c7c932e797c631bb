#include "models/GrownUpRequest.h"

#include <algorithm>

#include "base/Translate.h"
#include "models/RefusedSites.h"
#include "models/SetupApply.h"
#include "models/SetupModel.h"
#include "policy/NavigationGuard.h"

namespace tovali {

bool message_offers_grown_up_request(std::string_view message) {
  return message == NavigationGuard::kClickedLinkMessage ||
         message == NavigationGuard::kRedirectMessage;
}

std::string request_host(std::string_view url) {
  const auto scheme_end = url.find("://");
  if (scheme_end == std::string_view::npos) return {};
  std::string_view authority = url.substr(scheme_end + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  const auto at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority;
  if (!host.empty() && host.front() == '[') {
    host =
        host.substr(0, host.find(']') == std::string_view::npos ? host.size() : host.find(']') + 1);
  } else {
    host = host.substr(0, host.find(':'));
  }
  std::string lower(host);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

std::string allow_site_heading(std::string_view url) {
  std::string host = request_host(url);
  return host.empty() ? std::string(tr("an address without a site name")) : host;
}

RequestAnswer answer_for(std::optional<AllowSiteChoice> choice) {
  if (!choice) return RequestAnswer::NoAnswer;
  switch (*choice) {
    case AllowSiteChoice::JustThisTime:
      return RequestAnswer::AllowedOnce;
    case AllowSiteChoice::Always:
      return RequestAnswer::AllowedAlways;
    case AllowSiteChoice::NotNow:
      break;
  }
  return RequestAnswer::Declined;
}

MoreSitesWrite add_allowed_site(Settings& settings, std::string_view url) {
  if (more_sites_locked(settings)) return MoreSitesWrite::Locked;
  std::vector<MoreSitesRow> rows = load_more_sites(settings);
  const std::string single = single_line_value(url);
  const bool listed = std::any_of(rows.begin(), rows.end(),
                                  [&](const MoreSitesRow& row) { return row.url == single; });
  if (listed) return MoreSitesWrite::AlreadyListed;
  add_to_more_sites(rows, more_sites_row_for({single, request_host(single), 0}));
  store_more_sites(rows, settings);
  return MoreSitesWrite::Added;
}

}  // namespace tovali
