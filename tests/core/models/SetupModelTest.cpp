#include <gtest/gtest.h>

#include "models/SetupModel.h"

namespace tovali {
namespace {

Settings settings_of(TextList lines) {
  return Settings(std::move(lines));
}

TEST(LoadSetupModel, ChecksExactlyTheValueOne) {
  const auto load = load_setup_model(
      settings_of({"silent_mode=1", "allow_new_window=yes", "prevent_switch=0", "REQ_PW_CLOSE=1",
                   "req_pw_config= 1", "show_print_settings=1", "download_config=1"}));
  EXPECT_TRUE(load.model.silent_mode);
  EXPECT_FALSE(load.model.allow_new_window);
  EXPECT_FALSE(load.model.prevent_switch);
  EXPECT_TRUE(load.model.req_pw_close);  // names match without regard to case
  EXPECT_FALSE(load.model.req_pw_config);
  EXPECT_TRUE(load.model.show_print_settings);
  EXPECT_FALSE(load.model.hide_navframe);  // missing key
}

TEST(LoadSetupModel, TextsAsStored) {
  const auto load = load_setup_model(
      settings_of({"email_url= http://mail.test/?a=b ", "load_main_url=http://main.test/",
                   "home_button_url=http://home.test/"}));
  EXPECT_EQ(load.model.email_url, " http://mail.test/?a=b ");
  EXPECT_EQ(load.model.load_main_url, "http://main.test/");
  EXPECT_EQ(load.model.home_button_url, "http://home.test/");
}

TEST(LoadSetupModel, ConfigurationWarningWhileFilling) {
  struct Case {
    const char* download_config;
    const char* use_global_meta_data;
    int warnings;
  };
  const Case cases[] = {
      {"0", "1", 1}, {nullptr, "1", 1}, {"yes", "1", 1},       {"1", "1", 0},
      {"1", "0", 0}, {"0", "0", 0},     {nullptr, nullptr, 0},
  };
  for (const auto& c : cases) {
    Settings s;
    if (c.download_config) s.set_value("download_config", c.download_config);
    if (c.use_global_meta_data) s.set_value("use_global_meta_data", c.use_global_meta_data);
    EXPECT_EQ(load_setup_model(s).configuration_warnings, c.warnings)
        << (c.download_config ? c.download_config : "(missing)") << " / "
        << (c.use_global_meta_data ? c.use_global_meta_data : "(missing)");
  }
}

TEST(LoadSetupModel, GridRows) {
  struct Case {
    TextList lines;
    std::vector<MoreSitesRow> rows;
  };
  const std::vector<MoreSitesRow> design(4);
  const Case cases[] = {
      {{}, design},
      {{"num_moresites=abc", "ms_desc-0=A", "ms_url-0=x"}, design},
      {{"num_moresites=0", "ms_desc-0=A"}, design},
      {{"num_moresites=-3"}, design},
      {{"num_moresites=2", "ms_desc-0=A", "ms_url-0=x", "ms_url-1=z"}, {{"A", "x"}, {"", "z"}}},
      {{"num_moresites=1", "ms_desc-0=A", "ms_url-0=x", "ms_desc-1=B", "ms_url-1=y"}, {{"A", "x"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(load_setup_model(Settings(c.lines)).model.moresites_grid, c.rows)
        << ::testing::PrintToString(c.lines);
  }
}

TEST(LoadSetupModel, HugeCountDoesNotStall) {
  const auto load = load_setup_model(settings_of({"num_moresites=2000000000", "ms_desc-0=A"}));
  EXPECT_EQ(load.model.moresites_grid.front(), (MoreSitesRow{"A", ""}));
  EXPECT_LE(load.model.moresites_grid.size(), static_cast<std::size_t>(Settings::kMaxListEntries));
}

TEST(LoadSetupModel, MemosExactlyAsStored) {
  const auto load = load_setup_model(settings_of(
      {"num_cust_prohibited_domains=3", "cust_pd-0=a", "cust_pd-2= b", "num_cust_prohibited_urls=x",
       "cust_pu-0=http://u", "num_prohibited_file_exts=2", "pext-0=exe", "pext-1=Zip"}));
  EXPECT_EQ(load.model.prohibited_domains_memo, (TextList{"a", "", " b"}));
  EXPECT_TRUE(load.model.prohibited_urls_memo.empty());
  EXPECT_EQ(load.model.prohibited_file_exts_memo, (TextList{"exe", "Zip"}));
}

TEST(MoreSitesGrid, EnteringTheLastRowAppendsOne) {
  std::vector<MoreSitesRow> rows(4);
  EXPECT_FALSE(grow_more_sites_rows(rows, 0));
  EXPECT_FALSE(grow_more_sites_rows(rows, 2));
  EXPECT_EQ(rows.size(), 4u);
  EXPECT_TRUE(grow_more_sites_rows(rows, 3));
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_FALSE(grow_more_sites_rows(rows, 3));
  EXPECT_TRUE(grow_more_sites_rows(rows, 4));
  EXPECT_EQ(rows.size(), 6u);
  EXPECT_FALSE(grow_more_sites_rows(rows, 9));
  EXPECT_FALSE(grow_more_sites_rows(rows, -1));
}

}  // namespace
}  // namespace tovali
