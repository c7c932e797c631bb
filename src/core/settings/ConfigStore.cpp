#include "settings/ConfigStore.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/AtomicFile.h"
#include "base/FileLock.h"
#include "settings/ScrambledFile.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

// The bytes of `path`; "" when it cannot be read.
std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_defaults(Settings& settings) {
  for (const auto& line : ConfigStore::default_lines()) {
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

std::array<std::string, 3> ConfigStore::copy_paths() const {
  return {m_dir + "finalg.dat", m_dir + "system/stlber.dat", m_dir + "config/rushol.dat"};
}

int ConfigStore::load_first_usable(TextList& encoded) const {
  const auto paths = copy_paths();
  for (int i = 0; i < 3; ++i) {
    if (LoadEncodedFile(paths[static_cast<std::size_t>(i)], encoded)) return i;
  }
  return -1;
}

int ConfigStore::first_usable_copy() const {
  TextList encoded;
  return load_first_usable(encoded);
}

TextList ConfigStore::default_lines() {
  return factory_default_lines();
}

LoadSource ConfigStore::read_stored(TextList& lines) const {
  TextList encoded;
  LoadSource source = LoadSource::PendingSave;
  if (!LoadEncodedFile(journal_path(), encoded)) {
    const int copy = load_first_usable(encoded);
    if (copy < 0) return LoadSource::Defaults;
    source = static_cast<LoadSource>(copy);
  }
  DecodeAndLoad(encoded, lines);
  return source;
}

LoadSource ConfigStore::read_config(Settings& settings) const {
  TextList lines;
  const LoadSource source = read_stored(lines);
  if (source == LoadSource::Defaults) {
    settings.clear();
    write_defaults(settings);
    // Settings made from the factory defaults, by the program or by
    // tovali-settings, wait for the grown-up's welcome.
    settings.set_value(keys::welcome_done, "0");
  } else {
    settings.assign(std::move(lines));
  }
  m_known = settings.lines();
  return source;
}

LoadReport ConfigStore::LoadConfig(Settings& settings) const {
  LoadReport report;
  const FileLock lock(lock_path(), kLockWait);
  if (lock.locked()) report.save = finish_pending_save();
  report.source = read_config(settings);
  if (report.source != LoadSource::Defaults) return report;
  if (!lock.locked()) {
    for (const auto& path : copy_paths()) report.save.failures.push_back({path, lock.error()});
    m_known.reset();
    return report;
  }
  report.save = commit(settings.lines());
  if (!report.save.ok()) m_known.reset();
  return report;
}

SaveReport ConfigStore::LoadDefaults(Settings& settings) const {
  write_defaults(settings);
  return SaveConfig(settings);
}

SaveReport ConfigStore::SaveConfig(const Settings& settings) const {
  const auto refused = [this](const std::string& reason) {
    SaveReport report;
    for (const auto& path : copy_paths()) report.failures.push_back({path, reason + "; not saved"});
    return report;
  };
  try {
    const std::string too_long = why_not_encodable(settings.lines());
    if (!too_long.empty()) return refused(too_long);
    const FileLock lock(lock_path(), kLockWait);
    if (!lock.locked()) return refused(lock.error());
    // A save cut short after its commit comes first: it was reported as
    // made, and this one builds on it.
    SaveReport report = finish_pending_save();
    if (!report.ok()) return report;

    TextList lines = settings.lines();
    TextList stored;
    if (m_known && read_stored(stored) != LoadSource::Defaults && stored != *m_known) {
      // Another writer saved since this store read: keep its keys and apply
      // only what the caller changed.
      Settings merged(std::move(stored));
      merged.set_values(changes_between(*m_known, settings.lines()));
      lines = merged.lines();
      const std::string merged_too_long = why_not_encodable(lines);
      if (!merged_too_long.empty()) return refused(merged_too_long);
    }
    report = commit(lines);
    if (report.ok()) m_known = settings.lines();
    return report;
  } catch (const std::exception& e) {
    return refused(e.what());
  }
}

SaveReport ConfigStore::finish_pending_save() const {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(journal_path(), ec))) return {};
  TextList encoded;
  if (!LoadEncodedFile(journal_path(), encoded)) {
    // The journal is renamed into place whole, so one that fails its check
    // was not written by a save: it commits nothing.
    std::remove(journal_path().c_str());
    return {};
  }
  TextList lines;
  DecodeAndLoad(encoded, lines);
  return commit(lines);
}

SaveReport ConfigStore::commit(const TextList& lines) const {
  SaveReport report;
  const auto paths = copy_paths();
  // Every copy is written to a temporary first; nothing is committed unless
  // all three were written, so a full disk or a folder that cannot be
  // written leaves every copy as it was.
  std::array<std::string, 3> encoded;
  std::array<std::string, 3> temporaries;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    remove_leftover_temporaries(paths[i]);
    std::string error;
    try {
      encoded[i] = encode_text(lines);
      temporaries[i] = write_temporary_beside(paths[i], encoded[i], &error);
    } catch (const std::exception& e) {
      error = e.what();
    }
    if (temporaries[i].empty()) {
      report.failures.push_back({paths[i], error.empty() ? "cannot be written" : error});
    }
  }
  const auto remove_temporaries = [&temporaries] {
    for (const auto& temporary : temporaries) {
      if (!temporary.empty()) std::remove(temporary.c_str());
    }
  };
  if (!report.ok()) {
    remove_temporaries();
    return report;
  }
  step_done(SaveStep::TemporariesWritten);

  // The commit: from here on the new settings are the stored ones, whatever
  // happens to this process.
  remove_leftover_temporaries(journal_path());
  std::string journal_error;
  if (!write_file_atomically(journal_path(), encode_text(lines), &journal_error)) {
    remove_temporaries();
    for (const auto& path : paths) {
      report.failures.push_back({path, "not saved: " + journal_error});
    }
    return report;
  }
  step_done(SaveStep::JournalWritten);

  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::string error;
    if (!replace_with_temporary(temporaries[i], paths[i], &error)) {
      report.failures.push_back({paths[i], error + "; the journal " + journal_path() +
                                               " finishes the save at the next load"});
    }
    step_done(static_cast<SaveStep>(static_cast<int>(SaveStep::FirstCopyReplaced) + i));
  }
  for (std::size_t i = 0; i < paths.size() && report.ok(); ++i) {
    if (read_whole(paths[i]) != encoded[i]) {
      report.failures.push_back({paths[i], "does not hold the saved settings after the save"});
    }
  }
  if (!report.ok()) return report;
  std::remove(journal_path().c_str());
  sync_folder(m_dir);
  step_done(SaveStep::JournalRemoved);
  return report;
}

}  // namespace tovali
