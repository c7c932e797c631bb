// Speed of `tovali-rules lint` on a 1 MiB menu page: menu links, plain links
// and comments throughout, so every "HTTP" is looked at.

#include <benchmark/benchmark.h>

#include <string>

#include "cli/RulesLint.h"
#include "psl/LibpslSuffixList.h"

namespace tovali {
namespace {

std::string large_menu_page() {
  std::string text = "<html><body>\n";
  for (int i = 0; text.size() < (1u << 20) - 7; ++i) {
    const std::string n = std::to_string(i % 1000);
    text += "<a href=\"http001://www.site" + n + ".example/\">Site " + n + "</a>\n";
    text += "<a href=\"http://plain" + n + ".example/\">plain</a> HTTP HTTP\n";
    if (i % 10 == 0) text += "<!-- http002://commented" + n + ".example/ -->\n";
  }
  text += "<!--URL001:AD:example.com-->\n</body>";
  return text;
}

void BM_LintMenuPage(benchmark::State& state) {
  const std::string page = large_menu_page();
  std::size_t warnings = 0;
  for (auto _ : state) {
    warnings = lint_menu_page(page).size();
    benchmark::DoNotOptimize(warnings);
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
  state.counters["warnings"] = static_cast<double>(warnings);
}
BENCHMARK(BM_LintMenuPage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// `tovali-rules lint` on pages of comments left open, '<!--URL001:AD:a.b.c'
// * N + '-->', of range(0) KiB: every value overlaps the next and warns, so
// the time and the warnings' size must grow linearly with the page.
void BM_LintOverlappingComments(benchmark::State& state) {
  const std::string comment = "<!--URL001:AD:a.b.c";
  std::string page;
  while (page.size() + comment.size() + 3 <= static_cast<std::size_t>(state.range(0)) * 1024) {
    page += comment;
  }
  page += "-->";
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const LintWarning& w : lint_menu_page(page)) bytes += w.text.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
  state.counters["warning_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LintOverlappingComments)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->Arg(128)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovali

// The domain rules consult the real Public Suffix List, as in the programs.
int main(int argc, char** argv) {
  tovali::LibpslSuffixList::install();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
