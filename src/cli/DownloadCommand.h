#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "cli/SettingsTool.h"

namespace tovali {

// `tovali-settings download`: runs the configuration download exactly as the
// program's start-up does (the start-up settings steps, the download_config
// switch, the desktop proxy, the sites in order, the merge and the save) on a
// GLib main loop of its own, printing each status text on its own line as it
// is shown, and on `err` each site refused for want of trust (a failed
// secure connection, a missing or wrong signature) and why a site's document
// was not applied when it would leave more settings lines than a copy can
// count, and each line of the applied document that gives a known key a value
// it cannot hold (config_value_warnings; applied all the same). Exit status 0
// when a site answered 200 and its document was applied and saved, or when
// download_config is "0" (nothing printed then); 1 otherwise, and when the
// administrator's settings.conf exists but cannot be read (nothing fetched);
// 2 for a wrong call.
int run_download_command(const std::string& settings_dir, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err);

// The command as the front end registers it, over the settings below `settings_dir`.
SettingsTool::Command make_download_command(const std::string& settings_dir);

// Its line in the usage text.
inline constexpr const char* kDownloadUsage =
    N_("download          fetch the configuration from the configuration sites now");

}  // namespace tovali
