#include <gtest/gtest.h>

#include "models/RefusedSites.h"

namespace tovali {
namespace {

// A stand-in for the policy's domain rule: the host's last two labels, upper.
std::string fake_domain(std::string_view url) {
  const auto start = url.find("://");
  if (start == std::string_view::npos) return {};
  std::string host(url.substr(start + 3, url.find('/', start + 3) - start - 3));
  const auto last = host.rfind('.');
  if (last != std::string::npos && last > 0) {
    const auto before = host.rfind('.', last - 1);
    if (before != std::string::npos) host = host.substr(before + 1);
  }
  return upper_case(host);
}

TEST(AggregateRefusedSites, NewestFirstWithCounts) {
  const TextList log = {"http://a.test/1", "http://www.b.test/x", "http://a.test/1", "",
                        "http://c.test/",  "http://A.test/1"};
  const auto sites = aggregate_refused_sites(log, fake_domain);
  ASSERT_EQ(sites.size(), 4u);
  EXPECT_EQ(sites[0].url, "http://A.test/1");  // URLs compared exactly
  EXPECT_EQ(sites[0].count, 1);
  EXPECT_EQ(sites[1].url, "http://c.test/");
  EXPECT_EQ(sites[2].url, "http://a.test/1");
  EXPECT_EQ(sites[2].count, 2);
  EXPECT_EQ(sites[3].url, "http://www.b.test/x");
  EXPECT_EQ(sites[3].domain, "B.TEST");
}

TEST(AggregateRefusedSites, EmptyLog) {
  EXPECT_TRUE(aggregate_refused_sites({}, fake_domain).empty());
}

TEST(MoreSitesRowFor, DomainInLowerCaseOrTheUrl) {
  EXPECT_EQ(more_sites_row_for({"http://www.b.test/x", "B.TEST", 1}),
            (MoreSitesRow{"b.test", "http://www.b.test/x"}));
  EXPECT_EQ(more_sites_row_for({"file:///tmp/x.exe", "", 3}),
            (MoreSitesRow{"file:///tmp/x.exe", "file:///tmp/x.exe"}));
}

TEST(AddToMoreSites, FillsTheFirstEmptyRowAndKeepsOneBelow) {
  struct Case {
    std::vector<MoreSitesRow> before;
    int index;
    std::vector<MoreSitesRow> after;
  };
  const MoreSitesRow n{"n", "http://n/"};
  const MoreSitesRow a{"a", "http://a/"};
  const MoreSitesRow half{"", "http://half/"};
  const Case cases[] = {
      {{{}, {}, {}, {}}, 0, {n, {}, {}, {}}}, {{a}, 1, {a, n, {}}}, {{a, {}}, 1, {a, n, {}}},
      {{half, {}, a}, 1, {half, n, a}},       {{}, 0, {n, {}}},
  };
  for (const auto& c : cases) {
    auto rows = c.before;
    EXPECT_EQ(add_to_more_sites(rows, n), c.index);
    EXPECT_EQ(rows, c.after);
  }
}

}  // namespace
}  // namespace tovali
