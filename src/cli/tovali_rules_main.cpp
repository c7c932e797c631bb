// tovali-rules: what the link rules of a menu page admit, from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "cli/RulesTool.h"
#include "settings/ConfigStore.h"

int main(int argc, char** argv) {
  try {
    const tovali::RulesTool tool([] {
      tovali::Settings settings;
      // Reads the first usable copy; with none, the defaults in memory.
      tovali::ConfigStore(tovali::ConfigStore::DefaultTEWinDir()).ReadConfig(settings);
      return settings;
    });
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tool.run(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tovali-rules: " << e.what() << '\n';
    return 2;
  }
}
