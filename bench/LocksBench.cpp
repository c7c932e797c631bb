// Speed of the administrator's locks: reading a settings.conf of 10,000 to
// 100,000 names, the settings in force under them (`tovali-settings list`),
// and a 4 MiB downloaded configuration checked and merged under 10,000 locks.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "config/RemoteConfig.h"
#include "settings/ConfigStore.h"
#include "settings/ScrambledFile.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "settings/SystemSettings.h"

namespace tovali {
namespace {

constexpr std::size_t kDocumentBytes = 4u << 20;

// The i-th of many distinct names the program knows: the entries of the six
// numbered lists in turn ("site-0", "ms_desc-0", ..., "pext-0", "site-1", ...).
std::string entry_name(std::size_t i) {
  const auto& lists = list_entries();
  return std::string(lists[i % lists.size()].prefix) + std::to_string(i / lists.size());
}

// A value the entry's key can hold.
std::string entry_value(std::size_t i) {
  return list_entries()[i % list_entries().size()].kind == SettingKind::Url
             ? "http://s" + std::to_string(i) + ".test/"
             : "v" + std::to_string(i);
}

std::string settings_conf(std::size_t names) {
  std::string text = "# the school's kiosks\n";
  for (std::size_t i = 0; i < names; ++i) text += entry_name(i) + "=" + entry_value(i) + "\n";
  return text;
}

void BM_ParseSettingsConf(benchmark::State& state) {
  const std::string text = settings_conf(static_cast<std::size_t>(state.range(0)));
  std::size_t locked = 0;
  for (auto _ : state) {
    const SystemSettingsText parsed = parse_system_settings(text);
    locked = parsed.locked.size();
    benchmark::DoNotOptimize(parsed.locked.data());
  }
  state.counters["locked"] = static_cast<double>(locked);
}

// What `tovali-settings list` does after reading the file: the locks put in
// force over the user's settings (the factory lines and every locked name
// once more, as a user who had set them all), then the lines in force.
void BM_ListInForce(benchmark::State& state) {
  const std::size_t names = static_cast<std::size_t>(state.range(0));
  const TextList locked = parse_system_settings(settings_conf(names)).locked;
  TextList user = ConfigStore::default_lines();
  for (std::size_t i = 0; i < names; ++i) user.push_back(entry_name(i) + "=mine");
  std::size_t lines = 0;
  for (auto _ : state) {
    Settings settings(user);
    settings.set_locked(locked);
    const TextList in_force = settings.lines_in_force();
    lines = in_force.size();
    benchmark::DoNotOptimize(in_force.data());
  }
  state.counters["lines_in_force"] = static_cast<double>(lines);
}

// A 4 MiB teconfig.dat of 65,516 entry lines (what a copy can count beside the
// factory lines), 10,000 of whose names the administrator locked; checked for
// values its keys cannot hold and merged, as start-up does.
void BM_MergeUnderLocks(benchmark::State& state) {
  const std::size_t lock_count = static_cast<std::size_t>(state.range(0));
  const std::size_t line_count = kMaxCountedLines - 19;
  const std::size_t line_bytes = kDocumentBytes / line_count;
  std::string document;
  document.reserve(kDocumentBytes + line_bytes);
  for (std::size_t i = 0; i < line_count; ++i) {
    std::string line = entry_name(i) + "=" + entry_value(i);
    // Padding keeps every value in its form (a web address gets a longer path).
    if (line.size() + 2 < line_bytes) line.append(line_bytes - 2 - line.size(), 'x');
    document += line + "\r\n";
  }
  TextList locks;
  // Every sixth document line is locked, spread over the whole document.
  for (std::size_t i = 0; i < lock_count; ++i) locks.push_back(entry_name(i * 6) + "=locked");
  Settings factory(ConfigStore::default_lines());
  factory.set_locked(locks);
  bool applied = false;
  for (auto _ : state) {
    state.PauseTiming();
    Settings settings = factory;
    state.ResumeTiming();
    const auto warnings = config_value_warnings(settings, document);
    applied = merge_config_document(settings, document);
    benchmark::DoNotOptimize(warnings.data());
    benchmark::DoNotOptimize(settings.lines().data());
  }
  state.counters["document_bytes"] = static_cast<double>(document.size());
  state.counters["applied"] = applied ? 1 : 0;
}

BENCHMARK(BM_ParseSettingsConf)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ListInForce)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MergeUnderLocks)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tovali

BENCHMARK_MAIN();
