// Speed of the configuration merge: a 4 MiB downloaded document of distinct
// names merged into the factory settings, once in many short lines (more
// than a settings copy can count, so the merge is refused after it was
// done) and once in as many lines as a copy can count (applied).

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "config/RemoteConfig.h"
#include "settings/ConfigStore.h"
#include "settings/ScrambledFile.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

constexpr std::size_t kDocumentBytes = 4u << 20;

// `line_count` lines of distinct names, padded so that together they fill
// exactly kDocumentBytes (the last line takes what the division leaves).
std::string distinct_lines(std::size_t line_count) {
  const std::size_t line_bytes = kDocumentBytes / line_count;
  std::string document;
  document.reserve(kDocumentBytes);
  for (std::size_t i = 0; i < line_count; ++i) {
    const std::size_t wanted = i + 1 < line_count ? line_bytes : kDocumentBytes - document.size();
    const std::string n = std::to_string(i);
    std::string line = "s" + n + "=" + n;
    if (line.size() + 2 < wanted) line.append(wanted - 2 - line.size(), 'x');
    document += line + "\r\n";
  }
  return document;
}

void BM_MergeConfigDocument(benchmark::State& state) {
  const std::size_t line_count = static_cast<std::size_t>(state.range(0));
  const std::string document = distinct_lines(line_count);
  const Settings factory(ConfigStore::default_lines());
  bool applied = false;
  for (auto _ : state) {
    state.PauseTiming();
    Settings settings = factory;
    state.ResumeTiming();
    applied = merge_config_document(settings, document);
    benchmark::DoNotOptimize(settings.lines().data());
  }
  state.counters["document_bytes"] = static_cast<double>(document.size());
  state.counters["lines"] = static_cast<double>(line_count);
  state.counters["applied"] = applied ? 1 : 0;
}
BENCHMARK(BM_MergeConfigDocument)
    ->Arg(kDocumentBytes / 16)    // 262,144 lines of 16 bytes
    ->Arg(kMaxCountedLines - 19)  // fills a copy with the factory lines
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tovali

BENCHMARK_MAIN();
