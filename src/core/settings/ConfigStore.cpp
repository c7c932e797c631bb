#include "settings/ConfigStore.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "base/AtomicFile.h"
#include "settings/ScrambledFile.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {
void write_defaults(Settings& settings) {
  for (const auto& line : ConfigStore::DefaultLines()) {
    const auto eq = line.find('=');
    settings.set_value(line.substr(0, eq), line.substr(eq + 1));
  }
}
}  // namespace

std::string SaveReport::describe() const {
  std::string out;
  for (const auto& f : failures) out += f.path + ": " + f.reason + "\n";
  return out;
}

ConfigStore::ConfigStore(std::string settings_dir) : m_dir(std::move(settings_dir)) {
  if (m_dir.empty() || m_dir.back() != '/') m_dir += '/';
}

std::string ConfigStore::default_settings_dir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  // Only an absolute XDG_CONFIG_HOME counts; a relative one is ignored.
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : "/tmp") + "/.config";
  }
  if (base.back() != '/') base += '/';
  return base + "tovali-explorer/";
}

std::array<std::string, 3> ConfigStore::CopyPaths() const {
  return {m_dir + "finalg.dat", m_dir + "system/stlber.dat", m_dir + "config/rushol.dat"};
}

int ConfigStore::load_first_usable(TextList& encoded) const {
  const auto paths = CopyPaths();
  for (int i = 0; i < 3; ++i) {
    if (LoadEncodedFile(paths[static_cast<std::size_t>(i)], encoded)) return i;
  }
  return -1;
}

int ConfigStore::FirstUsableCopy() const {
  TextList encoded;
  return load_first_usable(encoded);
}

TextList ConfigStore::DefaultLines() {
  return factory_default_lines();
}

LoadSource ConfigStore::ReadConfig(Settings& settings) const {
  TextList encoded;
  const int copy = load_first_usable(encoded);
  if (copy < 0) {
    settings.clear();
    write_defaults(settings);
    return LoadSource::Defaults;
  }
  TextList decoded;
  DecodeAndLoad(encoded, decoded);
  settings.assign(std::move(decoded));
  return static_cast<LoadSource>(copy);
}

LoadReport ConfigStore::LoadConfig(Settings& settings) const {
  LoadReport report;
  report.source = ReadConfig(settings);
  if (report.source == LoadSource::Defaults) report.save = SaveConfig(settings);
  return report;
}

SaveReport ConfigStore::LoadDefaults(Settings& settings) const {
  write_defaults(settings);
  return SaveConfig(settings);
}

SaveReport ConfigStore::SaveConfig(const Settings& settings) const {
  SaveReport report;
  const auto paths = CopyPaths();
  const std::string too_long = why_not_encodable(settings.lines());
  if (!too_long.empty()) {
    for (const auto& path : paths) report.failures.push_back({path, too_long + "; not saved"});
    return report;
  }
  // Every copy is written to a temporary first; the copies are replaced only
  // when all three were written, so they never hold different settings
  // because of a full disk or a folder that cannot be written.
  std::array<std::string, 3> temporaries;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    remove_leftover_temporaries(paths[i]);
    std::string error;
    try {
      temporaries[i] = write_temporary_beside(paths[i], EncodeText(settings.lines()), &error);
    } catch (const std::exception& e) {
      error = e.what();
    }
    if (temporaries[i].empty()) {
      report.failures.push_back({paths[i], error.empty() ? "cannot be written" : error});
    }
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (temporaries[i].empty()) continue;
    std::string error;
    if (!report.ok()) {
      std::remove(temporaries[i].c_str());
    } else if (!replace_with_temporary(temporaries[i], paths[i], &error)) {
      report.failures.push_back({paths[i], error});
    }
  }
  return report;
}

}  // namespace tovali
