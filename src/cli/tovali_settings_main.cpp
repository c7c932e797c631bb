// tovali-settings: the settings of Tovali Explorer from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "BuildConfig.h"
#include "base/Translate.h"
#include "cli/DownloadCommand.h"
#include "cli/HashPasswordCommand.h"
#include "cli/ReportCommand.h"
#include "cli/SettingsTool.h"
#include "cli/SystemCommand.h"
#include "psl/LibpslSuffixList.h"
#include "settings/SystemFolder.h"

int main(int argc, char** argv) {
  tovali::start_translations(tovali::locale_dir(tovali::build::kLocaleDir));
  try {
    tovali::LibpslSuffixList::install();
    tovali::SettingsTool tool{tovali::ConfigStore(tovali::ConfigStore::default_settings_dir()),
                              tovali::system_folder()};
    tool.add_command("download", tovali::kDownloadUsage,
                     tovali::make_download_command(tovali::ConfigStore::default_settings_dir()));
    tool.add_command("hash-password", tovali::kHashPasswordUsage,
                     tovali::make_hash_password_command());
    tool.add_command("report", tovali::kReportUsage, tovali::make_report_command());
    tool.set_system_command(tovali::kSystemUsage,
                            tovali::make_system_command(tovali::system_folder()));
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tool.run(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tovali-settings: " << e.what() << '\n';
    return 1;
  }
}
