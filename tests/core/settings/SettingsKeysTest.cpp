#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FactoryLines.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

// The table must keep producing exactly the lines of the stored defaults,
// in their order.
TEST(SettingsKeys, FactoryLinesAreTheStoredDefaults) {
  const TextList expected = testing::factory_lines();
  EXPECT_EQ(factory_default_lines(), expected);
  EXPECT_EQ(ConfigStore::default_lines(), expected);
  EXPECT_EQ(factory_default(keys::password), "marigold");
  EXPECT_EQ(factory_default(keys::load_main_url), "");
}

TEST(SettingsKeys, NamesAreUniqueAndSwitchDefaultsAreZeroOrOne) {
  std::set<std::string> names;
  for (const SettingSpec& spec : known_settings()) {
    EXPECT_TRUE(names.insert(upper_case(spec.key.name())).second) << spec.key.name();
    EXPECT_EQ(find_setting(upper_case(spec.key.name())), &spec);
    if (spec.kind == SettingKind::Switch && spec.has_default) {
      EXPECT_TRUE(spec.factory_default == "0" || spec.factory_default == "1") << spec.key.name();
    }
  }
  EXPECT_EQ(find_setting("pext-0"), nullptr);
}

TEST(SettingsKeys, SwitchRule) {
  struct Case {
    const char* name;
    TextList lines;
    bool on;
  };
  const Case cases[] = {
      {"prevent_switch", {"prevent_switch=1"}, true},
      {"prevent_switch", {}, false},
      {"prevent_switch", {"prevent_switch=yes"}, false},
      {"PREVENT_SWITCH", {"Prevent_Switch=1"}, true},
      {"download_config", {}, true},
      {"download_config", {"download_config=0"}, false},
      {"download_config", {"download_config=yes"}, true},
      {"Download_Config", {"DOWNLOAD_CONFIG=0"}, false},
      {"not_a_known_key", {"not_a_known_key=1"}, true},
      {"not_a_known_key", {}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Settings(c.lines).is_on(c.name), c.on) << c.name;
  }
  EXPECT_TRUE(Settings().is_on(keys::download_config));
  EXPECT_FALSE(Settings({"download_config=0"}).is_on(keys::download_config));
  EXPECT_FALSE(Settings().is_on(keys::prevent_switch));
}

}  // namespace
}  // namespace tovali
