#include "TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace tovali::testing {

namespace {

std::string make_dir(const std::string& path, std::filesystem::perms perms) {
  std::filesystem::create_directories(path);
  std::filesystem::permissions(path, perms);
  return path;
}

}  // namespace

TestEnvironment::TestEnvironment(const std::string& root) {
  using std::filesystem::perms;
  const std::string base = root.empty() || root.back() == '/' ? root : root + "/";
  for (char** e = environ; e && *e; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) m_vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  const perms user_only = perms::owner_all;
  m_home = make_dir(base + "home", user_only);
  m_config = make_dir(base + "config", user_only);
  m_data = make_dir(base + "data", user_only);
  m_cache = make_dir(base + "cache", user_only);
  m_state = make_dir(base + "state", user_only);
  set("HOME", m_home);
  set("XDG_CONFIG_HOME", m_config);
  set("XDG_DATA_HOME", m_data);
  set("XDG_CACHE_HOME", m_cache);
  set("XDG_STATE_HOME", m_state);
  set("XDG_RUNTIME_DIR", make_dir(base + "runtime", user_only));
  // The administrator's folder: a private one, absent until a test writes
  // into it, so that the machine's /etc/tovali-explorer never takes part.
  m_system = base + "system/";
  set("TOVALI_SYSTEM_DIR", m_system);
  // A steady text caret: tests wait for it to see that a field has the
  // focus, and a blinking one would come and go between screenshots.
  std::ofstream(make_dir(m_config + "/gtk-3.0", user_only) + "/settings.ini")
      << "[Settings]\ngtk-cursor-blink = false\n";
  // Nothing of a desktop session the tests may run in: no other display,
  // no session bus, no accessibility bus, no stored desktop settings.
  for (const char* name : {"WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS",
                           "SESSION_MANAGER", "GDK_BACKEND", "DISPLAY"})
    unset(name);
  set("NO_AT_BRIDGE", "1");
  // The message catalogues of the build tree, and English texts whatever
  // the machine's language: a test that wants another language sets
  // LANGUAGE and a LC_MESSAGES other than "C" (gettext passes LANGUAGE over
  // in the "C" locale).
  set("TOVALI_LOCALE_DIR", TOVALI_TEST_LOCALE_DIR);
  for (const char* name : {"LANGUAGE", "LC_ALL"}) unset(name);
  set("LC_MESSAGES", "C");
  set("GSETTINGS_BACKEND", "memory");
  // Requests go to 127.0.0.1 directly, never through a proxy.
  for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY",
                           "HTTPS_PROXY", "FTP_PROXY", "ALL_PROXY", "no_proxy", "NO_PROXY"})
    unset(name);
}

void TestEnvironment::set(const std::string& name, const std::string& value) {
  m_vars[name] = value;
}

void TestEnvironment::unset(const std::string& name) {
  m_vars.erase(name);
}

std::string TestEnvironment::get(const std::string& name) const {
  const auto it = m_vars.find(name);
  return it == m_vars.end() ? std::string() : it->second;
}

std::vector<std::string> TestEnvironment::entries() const {
  std::vector<std::string> out;
  for (const auto& [name, value] : m_vars) out.push_back(name + "=" + value);
  return out;
}

std::vector<std::pair<std::string, std::string>> TestEnvironment::overrides() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& [name, value] : m_vars) {
    const char* own = std::getenv(name.c_str());
    if (!own || value != own) out.emplace_back(name, value);
  }
  return out;
}

}  // namespace tovali::testing
