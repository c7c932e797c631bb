#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextList.h"
#include "models/SetupModel.h"

namespace tovali {

// One refused URL as the "Refused Sites" tab lists it.
struct RefusedSite {
  std::string url;
  std::string domain;  // the site's domain, as the domain function gives it
  int count = 0;       // how often the URL was refused (within the log)
};

// Gives the domain of a URL (the site it belongs to).
using DomainFunction = std::function<std::string(std::string_view url)>;

// Aggregates the refused-URL log (oldest first): one entry per distinct URL
// (compared exactly), newest refusal first, with its refusal count.
std::vector<RefusedSite> aggregate_refused_sites(const TextList& log_oldest_first,
                                                 const DomainFunction& domain_of);

// The "More Sites" row for a refused URL: the domain in lower case as its
// description, or the URL itself when the URL has no domain (a row needs
// both cells to be kept).
MoreSitesRow more_sites_row_for(const RefusedSite& site);

// Puts `row` into the grid: into the first entirely empty row when there is
// one, else appended. Returns the data-row index it went to. A grid always
// keeps an empty row below its last filled one.
int add_to_more_sites(std::vector<MoreSitesRow>& rows, const MoreSitesRow& row);

}  // namespace tovali
