// The admission functions under arbitrary link rules, parent lists and URLs,
// against the step-by-step reference version of the tests.
//
// Input: the menu number, the current site, the parent's prohibited file
// extension, domain and URL on one line each, then the URLs to judge, one
// per line, up to an empty line; the rest is the menu page's text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ReferencePolicy.h"
#include "policy/AdmissionRules.h"
#include "policy/LinkMetaData.h"
#include "policy/ParentLists.h"
#include "psl/LibpslSuffixList.h"
#include "settings/Settings.h"

using namespace tovali;

// The domain rules consult the real Public Suffix List, as in the programs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tovali::LibpslSuffixList::install();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::string number(input.next_line());
  const std::string site(input.next_line());
  Settings settings;
  settings.set_value("num_prohibited_file_exts", "1");
  settings.set_value("pext-0", input.next_line());
  settings.set_value("num_cust_prohibited_domains", "1");
  settings.set_value("cust_pd-0", input.next_line());
  settings.set_value("num_cust_prohibited_urls", "1");
  settings.set_value("cust_pu-0", input.next_line());
  std::vector<std::string> urls;
  for (std::string_view url = input.next_line(); !url.empty(); url = input.next_line()) {
    urls.emplace_back(url);
  }
  const std::string page(input.rest());

  testing::ReferenceState ref;
  ref.lists = testing::reference_scan(page).lists;
  ref.url_number = number;
  ref.current_site_url = site;
  ref.exts = settings.list("num_prohibited_file_exts", "pext-", LetterCase::Upper);
  ref.cust_domains = settings.list("num_cust_prohibited_domains", "cust_pd-", LetterCase::Upper);
  ref.cust_urls = settings.list("num_cust_prohibited_urls", "cust_pu-", LetterCase::Upper);

  LinkMetaData meta(settings);
  meta.ExtractMetaData(page);
  meta.set_url_number(number);
  meta.set_current_site_url(site);
  ParentLists parent;
  parent.UpdateLists(settings);

  for (const auto& url : urls) {
    fuzz::require(Allow_B_URL(meta, url) == testing::reference_allow(ref, url),
                  "Allow_B_URL agrees with the reference");
    fuzz::require(Cust_Allow_B_URL(parent, url) == testing::reference_cust_allow(ref, url),
                  "Cust_Allow_B_URL agrees with the reference");
    fuzz::require(SuppressProhibitedPanel(meta, url) == testing::reference_suppress(ref, url),
                  "SuppressProhibitedPanel agrees with the reference");
  }
  return 0;
}
