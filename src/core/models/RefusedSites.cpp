#include "models/RefusedSites.h"

#include <unordered_map>

namespace tovali {

std::vector<RefusedSite> aggregate_refused_sites(const TextList& log_oldest_first,
                                                 const DomainFunction& domain_of) {
  std::vector<RefusedSite> sites;
  std::unordered_map<std::string, std::size_t> index;
  for (auto it = log_oldest_first.rbegin(); it != log_oldest_first.rend(); ++it) {
    if (it->empty()) continue;
    const auto found = index.find(*it);
    if (found != index.end()) {
      ++sites[found->second].count;
      continue;
    }
    index.emplace(*it, sites.size());
    sites.push_back({*it, domain_of ? domain_of(*it) : std::string(), 1});
  }
  return sites;
}

MoreSitesRow more_sites_row_for(const RefusedSite& site) {
  std::string description = site.domain;
  for (char& c : description) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (description.empty()) description = site.url;
  return {description, site.url};
}

int add_to_more_sites(std::vector<MoreSitesRow>& rows, const MoreSitesRow& row) {
  int target = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].description.empty() && rows[i].url.empty()) {
      target = static_cast<int>(i);
      break;
    }
  }
  if (target < 0) {
    rows.push_back(row);
    target = static_cast<int>(rows.size()) - 1;
  } else {
    rows[static_cast<std::size_t>(target)] = row;
  }
  grow_more_sites_rows(rows, target);
  return target;
}

}  // namespace tovali
