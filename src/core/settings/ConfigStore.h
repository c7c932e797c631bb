#pragma once

#include <array>
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

// Which copy LoadConfig used.
enum class LoadSource { FirstCopy, SecondCopy, ThirdCopy, Defaults };

struct LoadReport {
  LoadSource source = LoadSource::Defaults;
  SaveReport save;  // filled when the defaults were written and saved
};

// The three scrambled copies of the settings below one folder (`settings_dir`):
// "finalg.dat", "system/stlber.dat" and "config/rushol.dat", read
// first-usable and all written at every save.
class ConfigStore {
 public:
  // `settings_dir` must end with "/".
  explicit ConfigStore(std::string settings_dir);

  // $XDG_CONFIG_HOME/tovali-explorer/, else $HOME/.config/tovali-explorer/
  // (ending with "/"). Reads the environment; creates nothing.
  static std::string default_settings_dir();

  const std::string& settings_dir() const { return m_dir; }

  // The copies' paths, in the order they are tried and written.
  std::array<std::string, 3> CopyPaths() const;

  // Index of the first copy that passes its check, or -1 when none does.
  int FirstUsableCopy() const;

  // Fills `settings` from the first usable copy; when none is usable, runs
  // LoadDefaults (which saves all three copies). Never throws.
  LoadReport LoadConfig(Settings& settings) const;

  // Like LoadConfig but writes nothing: with no usable copy `settings` gets
  // the defaults in memory only.
  LoadSource ReadConfig(Settings& settings) const;

  // Writes `settings` to all three copies, each encoded afresh. All three are
  // written to temporaries beside the copies first and renamed over the
  // copies only when all three were written; otherwise the temporaries are
  // removed and every copy stays as it was. Settings with more non-empty
  // lines than a copy can count are not written at all. Temporaries left
  // beside the copies by an earlier save that was killed are removed.
  // Creates missing folders. Never throws; failures are reported.
  SaveReport SaveConfig(const Settings& settings) const;

  // Writes the nineteen default keys into `settings`, in order, then saves.
  SaveReport LoadDefaults(Settings& settings) const;

  // The default lines alone, in their fixed order (factory_default_lines).
  static TextList DefaultLines();

 private:
  // Index of the first copy that passes its check, its encoded lines in
  // `encoded`; -1 (and `encoded` untouched) when none does.
  int load_first_usable(TextList& encoded) const;

  std::string m_dir;
};

}  // namespace tovali
