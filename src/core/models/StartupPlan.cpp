#include "models/StartupPlan.h"

#include "BuildConfig.h"
#include "base/PageLanguage.h"
#include "base/Translate.h"
#include "settings/SettingsKeys.h"

namespace tovali {

std::string start_page_path(const std::string& program_dir) {
  return supplied_page_path(program_dir, "welcome.html");
}

FirstMainPage choose_first_main_page(const Settings& settings, const std::string& program_dir) {
  if (settings.is_on(keys::load_main_default))
    return {start_page_path(program_dir), FirstPageKind::StartPage};
  return {settings.value(keys::load_main_url), FirstPageKind::Site};
}

std::optional<std::string> update_notice(const Settings& settings) {
  if (settings.count(keys::program_version) <= kOwnProgramVersion) return std::nullopt;
  return fill(tr("Please update Tovali Explorer -- Go to {1} with a standard web browser."),
              {kMakerWebAddress});
}

std::string version_label_text() {
  return fill(tr("Version {1}"), {build::kVersion});
}

}  // namespace tovali
