#include "app/core/StartupPlan.h"

#include "BuildConfig.h"
#include "settings/SettingsKeys.h"

namespace tovali {

std::string StartPagePath(const std::string& program_dir) {
  return program_dir + "welcome.html";
}

FirstMainPage ChooseFirstMainPage(const Settings& settings, const std::string& program_dir,
                                  std::string (*domain)(const std::string&)) {
  FirstMainPage page;
  if (settings.is_on(keys::load_main_default)) {
    page.url = StartPagePath(program_dir);
    return page;
  }
  page.url = settings.value(keys::load_main_url);
  page.meta_text = "<!--URL001:AD:" + domain(page.url) + "-->";
  page.url_number = "001";
  return page;
}

std::optional<std::string> UpdateNotice(const Settings& settings) {
  if (settings.count(keys::program_version) <= kOwnProgramVersion) return std::nullopt;
  return std::string("Please update Tovali Explorer -- Go to ") + kMakerWebAddress +
         " with a standard web browser.";
}

std::string VersionLabelText() {
  return std::string("Version ") + build::kVersion;
}

}  // namespace tovali
