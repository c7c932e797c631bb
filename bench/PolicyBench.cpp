// Speed of the navigation policy: one judgement of a URL with few and with
// many rules (as a navigation and as a page's load), the extraction of link rules from a large menu
// page, and the saving and restoring of the rules in force for many admitted URLs.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "policy/AdmissionRules.h"
#include "policy/LinkMetaData.h"
#include "policy/PageLoadJudge.h"
#include "policy/PageLoadRules.h"
#include "policy/ParentLists.h"
#include "psl/LibpslSuffixList.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

// Comments for every one of the nine lists, `count` entries each, all under
// link number 001 (the number being judged, so every list is really searched).
std::string rule_comments(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    const std::string site = "site" + n + ".example";
    text += "<!--URL001:AD:" + site + "-->";
    text += "<!--URL001:AU:http://www." + site + "/page/" + n + ".html-->";
    text += "<!--URL001:PU:http://www." + site + "/bad/" + n + ".html-->";
    text += "<!--URL001:AS:http://www." + site + "/path" + n + "/-->";
    text += "<!--URL001:PS:http://www." + site + "/private" + n + "/-->";
    text += "<!--URL001:AT:." + site + "-->";
    text += "<!--URL001:PT:ads." + site + "-->";
    text += "<!--URL001:SD:silent" + n + ".example-->";
    text += "<!--URL001:SS:http://track" + n + ".example/-->";
  }
  return text;
}

// The parent's three lists with `count` entries each.
Settings parent_settings(int count) {
  TextList lines;
  const std::string c = std::to_string(count);
  lines.push_back("num_cust_prohibited_domains=" + c);
  lines.push_back("num_cust_prohibited_urls=" + c);
  lines.push_back("num_prohibited_file_exts=" + c);
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    lines.push_back("cust_pd-" + n + "=bad" + n + ".example");
    lines.push_back("cust_pu-" + n + "=http://www.site" + n + ".example/refused/" + n);
    lines.push_back("pext-" + n + "=x" + n);
  }
  return Settings(std::move(lines));
}

// `count` (a power of two) URLs of about 100 characters, each on a host of
// its own, that no rule admits, refuses or silences, so a judgement goes
// through every step of every test.
std::vector<std::string> judged_urls(std::size_t count) {
  std::vector<std::string> urls;
  for (std::size_t j = 0; j < count; ++j) {
    const std::string n = std::to_string(900000 + j);
    urls.push_back("http://www.kids-games-" + n + ".example/puzzles/level-" + n +
                   "/index.html?session=0123456789abcdef&page=" + n + "/");
  }
  return urls;
}

// Judges `urls` in turn under state.range(0) entries per list.
void judge_in_turn(benchmark::State& state, const std::vector<std::string>& urls) {
  const int count = static_cast<int>(state.range(0));
  Settings settings = parent_settings(count);
  LinkMetaData meta(settings);
  meta.ExtractMetaData(rule_comments(count));
  meta.set_url_number("001");
  meta.set_current_site_url("http://www.site0.example/");
  ParentLists parent;
  parent.UpdateLists(settings);
  const std::size_t mask = urls.size() - 1;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& url = urls[i++ & mask];
    bool admitted = Allow_B_URL(meta, url);
    admitted = Cust_Allow_B_URL(parent, url) && admitted;
    const bool silent = SuppressProhibitedPanel(meta, url);
    benchmark::DoNotOptimize(admitted);
    benchmark::DoNotOptimize(silent);
  }
  state.counters["entries_per_list"] = static_cast<double>(count);
}

// 64 hosts judged again and again, as a session's few sites are: the Public
// Suffix List's answer for each host is remembered after its first time.
void BM_JudgeURL(benchmark::State& state) {
  judge_in_turn(state, judged_urls(64));
}
BENCHMARK(BM_JudgeURL)->Arg(10)->Arg(10000)->Repetitions(9)->ReportAggregatesOnly(true);

// 65,536 hosts in turn, more than the list remembers: every judgement looks
// its host up in the Public Suffix List.
void BM_JudgeURLUnseenHosts(benchmark::State& state) {
  judge_in_turn(state, judged_urls(1 << 16));
}
BENCHMARK(BM_JudgeURLUnseenHosts)->Arg(10)->Arg(10000)->Repetitions(9)->ReportAggregatesOnly(true);

// What a page loads, judged in the web process by the page guard: the same
// URLs, lists and rules as BM_JudgeURL, with `strict_page_loads` "1" so that
// a load goes through the parent's lists and then the link rules.
void BM_JudgePageLoad(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Settings settings = parent_settings(count);
  settings.set_value("strict_page_loads", "1");
  LinkMetaData meta(settings);
  meta.ExtractMetaData(rule_comments(count));
  meta.set_url_number("001");
  meta.set_current_site_url("http://www.site0.example/");
  PageLoadJudge judge;
  judge.set_rules(page_load_rules(settings, meta, {"file:///usr/share/tovali-explorer/"}));
  const std::vector<std::string> urls = judged_urls(64);
  const std::size_t mask = urls.size() - 1;
  std::size_t i = 0;
  for (auto _ : state) {
    const LoadVerdict verdict = judge.judge("http://www.site0.example/games/", urls[i++ & mask]);
    benchmark::DoNotOptimize(verdict);
  }
  state.counters["entries_per_list"] = static_cast<double>(count);
}
BENCHMARK(BM_JudgePageLoad)->Arg(10)->Arg(10000)->Repetitions(9)->ReportAggregatesOnly(true);

// A menu page of 1 MiB holding 20,000 URL comments among ordinary markup.
std::string large_menu_page() {
  std::string text = "<body>";
  const std::string filler(8, ' ');
  for (int i = 0; i < 20000; ++i) {
    const std::string n = std::to_string(i);
    text += "<p>Site " + n + "</p>\n<!--URL001:AD:site" + n + ".example-->";
  }
  while (text.size() < (1u << 20) - 7) text += "<br>\n";
  text += "</body>";
  return text;
}

void BM_ExtractMetaData(benchmark::State& state) {
  Settings settings;
  LinkMetaData meta(settings);
  const std::string page = large_menu_page();
  for (auto _ : state) {
    meta.ExtractMetaData(page);
    benchmark::DoNotOptimize(meta.rules().entry_count());
  }
  state.counters["text_bytes"] = static_cast<double>(page.size());
  state.counters["entries"] = static_cast<double>(meta.rules().entry_count());
}
BENCHMARK(BM_ExtractMetaData)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A page of `kib` KiB of URL comments left open, '<!--URL001:XX:a.b.c' * N +
// '-->': every value runs to the one "-->" at the end, so the values overlap
// and together hold the square of the page's length. range(0) is the size in
// KiB, range(1) the list: 0 "AD" (whole texts), 1 "AS" (beginnings), 2 "AT"
// (host endings). Time and memory must grow linearly with the size.
std::string overlapping_page(std::int64_t kib, std::string_view code) {
  const std::string comment = "<!--URL001:" + std::string(code) + ":a.b.c";
  std::string text;
  while (text.size() + comment.size() + 3 <= static_cast<std::size_t>(kib) * 1024) text += comment;
  return text + "-->";
}

void BM_ExtractOverlappingComments(benchmark::State& state) {
  Settings settings;
  LinkMetaData meta(settings);
  meta.set_url_number("001");
  constexpr std::string_view kCodes[] = {"AD", "AS", "AT"};
  const std::string page = overlapping_page(state.range(0), kCodes[state.range(1)]);
  for (auto _ : state) {
    meta.ExtractMetaData(page);
    benchmark::DoNotOptimize(Allow_B_URL(meta, "http://a.b.c/"));
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
  state.counters["entries"] = static_cast<double>(meta.rules().entry_count());
}
BENCHMARK(BM_ExtractOverlappingComments)
    ->ArgsProduct({{16, 32, 64, 128, 1024}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

std::vector<std::string> admitted_urls(int count) {
  std::vector<std::string> urls;
  urls.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    urls.push_back("http://www.site" + std::to_string(i % 10000) + ".example/games/puzzles/level-" +
                   n + "/index.html?session=0123456789ab/");
  }
  return urls;
}

// 100,000 admitted URLs saved under one 10,000-entry rule set: the time per
// save and the memory they add.
void BM_SaveMetaData(benchmark::State& state) {
  const std::vector<std::string> urls = admitted_urls(100000);
  Settings settings;
  double added_mib = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      auto meta = std::make_unique<LinkMetaData>(settings);
      meta->ExtractMetaData(rule_comments(10000 / 9 + 1));
      meta->set_url_number("001");
      const std::size_t before = mallinfo2().uordblks;
      state.ResumeTiming();
      for (const std::string& url : urls) meta->SaveMetaData(url);
      state.PauseTiming();
      added_mib = static_cast<double>(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(urls.size()));
  state.counters["added_MiB"] = added_mib;
}
BENCHMARK(BM_SaveMetaData)->Unit(benchmark::kMillisecond)->Iterations(3);

// Restoring the rules of one of 100,000 saved URLs (a Back or Forward step).
void BM_LoadMetaData(benchmark::State& state) {
  const std::vector<std::string> urls = admitted_urls(100000);
  Settings settings;
  LinkMetaData meta(settings);
  meta.ExtractMetaData(rule_comments(10000 / 9 + 1));
  meta.set_url_number("001");
  for (const std::string& url : urls) meta.SaveMetaData(url);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(meta.LoadMetaData(urls[(i += 7919) % urls.size()]));
  }
}
BENCHMARK(BM_LoadMetaData)->Repetitions(5)->ReportAggregatesOnly(true);

// The same with global rules in force (the factory setting): the record's
// rules are rebuilt as text and scanned again behind the global rules, so
// the cost follows the size of the rules, not the number of records.
void BM_LoadMetaDataGlobalRules(benchmark::State& state) {
  const std::vector<std::string> urls = admitted_urls(100000);
  Settings settings;
  settings.set_value("use_global_meta_data", "1");
  settings.set_value("global-meta-data", "<!--URL001:AD:global.example-->");
  LinkMetaData meta(settings);
  meta.ExtractMetaData(rule_comments(static_cast<int>(state.range(0)) / 9 + 1));
  meta.set_url_number("001");
  for (const std::string& url : urls) meta.SaveMetaData(url);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(meta.LoadMetaData(urls[(i += 7919) % urls.size()]));
  }
}
BENCHMARK(BM_LoadMetaDataGlobalRules)
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
