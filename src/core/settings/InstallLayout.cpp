#include "settings/InstallLayout.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/ConfigStore.h"
#include "settings/SystemFolder.h"

namespace tovali {

namespace {

std::string with_slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string supplied_pages_dir(const std::string& executable_dir,
                               const std::function<bool(const std::string&)>& folder_exists) {
  const std::filesystem::path installed =
      (std::filesystem::path(executable_dir) / ".." / "share" / kProgramFolderName)
          .lexically_normal();
  std::string candidate = with_slash(installed.string());
  if (folder_exists(candidate)) return candidate;
  return with_slash(executable_dir);
}

std::string page_guard_dir_for(const std::string& executable_dir, const std::string& override_dir,
                               const std::function<bool(const std::string&)>& folder_exists) {
  if (!override_dir.empty()) return with_slash(override_dir);
  const std::filesystem::path installed =
      (std::filesystem::path(executable_dir) / ".." / "lib" / kProgramFolderName / "web-extensions")
          .lexically_normal();
  std::string candidate = with_slash(installed.string());
  if (folder_exists(candidate)) return candidate;
  return with_slash(executable_dir) + "web-extensions/";
}

std::string state_dir_for(const std::string& xdg_state_home, const std::string& home) {
  // Only an absolute XDG_STATE_HOME counts; a relative one is ignored.
  if (!xdg_state_home.empty() && xdg_state_home[0] == '/')
    return with_slash(xdg_state_home) + kProgramFolderName + "/";
  return with_slash(home.empty() ? std::string("/tmp") : home) + ".local/state/" +
         kProgramFolderName + "/";
}

Locations current_locations() {
  Locations locations;
  const auto folder_exists = [](const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec);
  };
  locations.ProgramDir = supplied_pages_dir(executable_dir(), folder_exists);
  locations.page_guard_dir =
      page_guard_dir_for(executable_dir(), environment("TOVALI_WEB_EXTENSIONS_DIR"), folder_exists);
  locations.settings_dir = ConfigStore::default_settings_dir();
  locations.state_dir = state_dir_for(environment("XDG_STATE_HOME"), environment("HOME"));
  locations.system_dir = system_folder();
  return locations;
}

}  // namespace tovali
