// tovali-rules: what the link rules of a menu page admit, from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "BuildConfig.h"
#include "base/Translate.h"
#include "cli/RulesTool.h"
#include "psl/LibpslSuffixList.h"
#include "settings/ConfigStore.h"
#include "settings/SystemFolder.h"
#include "settings/SystemSettings.h"

int main(int argc, char** argv) {
  tovali::start_translations(tovali::locale_dir(tovali::build::kLocaleDir));
  try {
    tovali::LibpslSuffixList::install();
    const tovali::RulesTool tool([] {
      tovali::Settings settings;
      // The administrator's locks, as the program applies them.
      tovali::SystemSettingsLoad system = tovali::load_system_settings(tovali::system_folder());
      if (!system.problems.empty()) std::cerr << "tovali-rules: " << system.problems;
      settings.set_locked(std::move(system.locked));
      // Reads the first usable copy; with none, the defaults in memory.
      tovali::ConfigStore(tovali::ConfigStore::default_settings_dir()).read_config(settings);
      return settings;
    });
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tool.run(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tovali-rules: " << e.what() << '\n';
    return 2;
  }
}
