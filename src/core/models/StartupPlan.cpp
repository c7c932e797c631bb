#include "models/StartupPlan.h"

#include "BuildConfig.h"
#include "settings/SettingsKeys.h"

namespace tovali {

std::string start_page_path(const std::string& program_dir) {
  return program_dir + "welcome.html";
}

FirstMainPage choose_first_main_page(const Settings& settings, const std::string& program_dir) {
  if (settings.is_on(keys::load_main_default))
    return {start_page_path(program_dir), FirstPageKind::StartPage};
  return {settings.value(keys::load_main_url), FirstPageKind::Site};
}

std::optional<std::string> update_notice(const Settings& settings) {
  if (settings.count(keys::program_version) <= kOwnProgramVersion) return std::nullopt;
  return std::string("Please update Tovali Explorer -- Go to ") + kMakerWebAddress +
         " with a standard web browser.";
}

std::string version_label_text() {
  return std::string("Version ") + build::kVersion;
}

}  // namespace tovali
