#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace tovali {

// One settings copy that could not be written, and why.
struct CopyFailure {
  std::string path;
  std::string reason;
};

// Outcome of writing the three copies: every copy that could not be written,
// each with its reason. Empty when all three were replaced.
struct SaveReport {
  std::vector<CopyFailure> failures;
  bool ok() const { return failures.empty(); }
  // "path: reason" lines, one per failed copy.
  std::string describe() const;
};

// Which copy LoadConfig used. PendingSave: the journal of a save that was
// cut short after it was committed (see SaveConfig).
enum class LoadSource { FirstCopy, SecondCopy, ThirdCopy, Defaults, PendingSave };

// The steps of a save, in order, as the step hook of ConfigStore sees them.
enum class SaveStep {
  TemporariesWritten,  // the three new copies are beside the old ones
  JournalWritten,      // the save is committed
  FirstCopyReplaced,
  SecondCopyReplaced,
  ThirdCopyReplaced,
  JournalRemoved,
};

struct LoadReport {
  LoadSource source = LoadSource::Defaults;
  SaveReport save;  // filled when the defaults were written and saved
};

// The three scrambled copies of the settings below one folder (`settings_dir`):
// "finalg.dat", "system/stlber.dat" and "config/rushol.dat", read
// first-usable and all written at every save.
//
// Several programs may write the copies at once (the browser, any number of
// tovali-settings). Every save and LoadConfig holds the lock file
// "settings.lock" in the folder and reads the copies afresh under it, so no
// writer undoes another's keys. A save is all three copies or none, even
// when the writer is killed: it first commits the new settings to the
// journal "settings.journal", then replaces the copies, then removes the
// journal; a journal found later is finished by the next save or LoadConfig
// and read in place of the copies until then.
//
// The store remembers the lines it last read or wrote; a save writes only
// what changed since then (see SaveConfig). Copies of a store share nothing.
class ConfigStore {
 public:
  // `settings_dir` must end with "/".
  explicit ConfigStore(std::string settings_dir);

  // $XDG_CONFIG_HOME/tovali-explorer/, else $HOME/.config/tovali-explorer/
  // (ending with "/"). Reads the environment; creates nothing.
  static std::string default_settings_dir();

  const std::string& settings_dir() const { return m_dir; }

  // The copies' paths, in the order they are tried and written.
  std::array<std::string, 3> copy_paths() const;
  // The lock every writer holds while it saves.
  std::string lock_path() const { return m_dir + "settings.lock"; }
  // The committed save that has not yet reached all three copies.
  std::string journal_path() const { return m_dir + "settings.journal"; }

  // Index of the first copy that passes its check, or -1 when none does.
  int first_usable_copy() const;

  // Under the lock: finishes a committed save found in the journal, then
  // fills `settings` from the first usable copy; when none is usable, writes
  // the defaults and `welcome_done` "0" (the grown-up's welcome is due) into
  // `settings` and saves them to all three copies. Without
  // the lock (held by another writer longer than kLockWait) it reads as
  // read_config does and saves nothing. Never throws.
  LoadReport LoadConfig(Settings& settings) const;

  // Like LoadConfig but writes nothing and takes no lock: a committed save's
  // journal is read in place of the copies; with no usable copy `settings`
  // gets the defaults in memory only.
  LoadSource read_config(Settings& settings) const;

  // Saves `settings` to all three copies, each encoded afresh, under the
  // lock. When this store has read or written the copies before, only the
  // changes `settings` made since then (changes_between) are applied to the
  // copies as they are now, so keys another writer saved in between stay;
  // otherwise `settings` replaces them whole. The three new copies are
  // written to temporaries first (a failure there leaves every copy as it
  // was), then committed to the journal, then renamed over the copies, each
  // flushed with its folder, and read back. The report is ok only when all
  // three copies hold the new settings. Settings with more non-empty lines
  // than a copy can count are not written at all. Temporaries of writers
  // that were killed are removed. Creates missing folders. Never throws;
  // failures are reported.
  SaveReport SaveConfig(const Settings& settings) const;

  // For fault tests: called after each step of a save.
  void set_step_hook(std::function<void(SaveStep)> hook) { m_step_hook = std::move(hook); }

  // How long a save waits for another writer's lock.
  static constexpr std::chrono::milliseconds kLockWait{10000};

  // Writes the nineteen default keys into `settings`, in order, then saves.
  SaveReport LoadDefaults(Settings& settings) const;

  // The default lines alone, in their fixed order (factory_default_lines).
  static TextList default_lines();

 private:
  // Index of the first copy that passes its check, its encoded lines in
  // `encoded`; -1 (and `encoded` untouched) when none does.
  int load_first_usable(TextList& encoded) const;
  // The stored settings: the journal when usable, else the first usable
  // copy, else nothing (LoadSource::Defaults and `lines` untouched).
  LoadSource read_stored(TextList& lines) const;
  // With the lock held: writes `lines` to the three copies through the
  // journal, as SaveConfig describes.
  SaveReport commit(const TextList& lines) const;
  // With the lock held: finishes the save a journal holds, if any.
  SaveReport finish_pending_save() const;
  void step_done(SaveStep step) const {
    if (m_step_hook) m_step_hook(step);
  }

  std::string m_dir;
  // The lines this store last read from or wrote to the copies: what its
  // caller's changes are measured against. A cache, hence mutable.
  mutable std::optional<TextList> m_known;
  std::function<void(SaveStep)> m_step_hook;
};

}  // namespace tovali
