#include "settings/StartupSettings.h"

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <iterator>

#include "BuildConfig.h"
#include "settings/SettingsKeys.h"
#include "settings/SystemSettings.h"

namespace tovali {

namespace {
void merge(SaveReport& into, const SaveReport& from) {
  into.failures.insert(into.failures.end(), from.failures.begin(), from.failures.end());
}
}  // namespace

StartupState run_startup_settings_steps(const Locations& locations) {
  StartupState state;
  state.DefaultSiteBaseURL = build::kPrimarySite;
  state.SiteBaseURL = state.DefaultSiteBaseURL;
  state.SitePath = kSitePath;

  const std::string log_path = locations.state_dir + "prohurl.log";
  std::error_code ec;
  if (std::filesystem::exists(log_path, ec)) {
    state.prohibited_log_unreadable = !state.prohibited_log.load(log_path);
  }

  SystemSettingsLoad system = load_system_settings(locations.system_dir);
  state.system_settings_unreadable = system.unreadable;
  if (system.unreadable) {
    system.locked.assign(std::begin(kUnreadableSystemSettingsLocks),
                         std::end(kUnreadableSystemSettingsLocks));
  }
  state.settings.set_locked(std::move(system.locked));
  state.system_settings_problems = std::move(system.problems);

  state.store = ConfigStore(locations.settings_dir);
  const ConfigStore& store = state.store;
  const LoadReport load = store.LoadConfig(state.settings);
  merge(state.save_failures, load.save);

  Settings& s = state.settings;
  if (s.count(keys::num_sites) == 0) {
    // Only the missing names are added: a line behind an existing
    // "num-sites" would be shadowed by it and pile up at every start.
    bool changed = false;
    const std::string site = std::string(keys::site_prefix);
    const std::pair<std::string, std::string> lines[] = {{std::string(keys::num_sites.name()), "2"},
                                                         {site + "0", build::kPrimarySite},
                                                         {site + "1", build::kSecondarySite}};
    for (const auto& [name, value] : lines) {
      if (!s.has(name)) {
        s.set_value(name, value);
        changed = true;
      }
    }
    if (changed) merge(state.save_failures, store.SaveConfig(s));
  }

  if (s.value(keys::password).empty() && !s.is_on(keys::nopassword) &&
      !s.is_locked(keys::password)) {
    s.set_value(keys::password, factory_default(keys::password));
    merge(state.save_failures, store.SaveConfig(s));
  }
  return state;
}

bool create_state_dir(const Locations& locations, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(locations.state_dir, ec)) return true;
  fs::create_directories(locations.state_dir, ec);
  if (!ec) fs::permissions(locations.state_dir, fs::perms::owner_all, ec);
  if (ec && error) *error = "cannot create " + locations.state_dir + ": " + ec.message();
  return !ec;
}

bool save_prohibited_log(const Locations& locations, const ProhibitedLog& log) {
  // The folder may have been removed while the program ran.
  create_state_dir(locations);
  return log.save(locations.state_dir + "prohurl.log");
}

std::string executable_dir() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<std::size_t>(n));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace tovali
