#include "cli/RulesTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>

#include "base/Translate.h"
#include "cli/CommandLine.h"
#include "cli/RulesLint.h"
#include "policy/AdmissionRules.h"
#include "policy/NavigationGuard.h"
#include "policy/UrlText.h"
#include "settings/ProhibitedLog.h"

namespace tovali {

namespace {

// Effects of the guard that go nowhere; the verdicts come from the calls.
class RecordingEffects : public GuardEffects {
 public:
  void navigate(BrowserTarget, const std::string&) override {}
  void ShowMsgPanel(const std::string&) override { ++messages; }
  bool popup_exists() const override { return false; }
  bool popup_visible() const override { return false; }
  void set_nav_frame_width(int) override {}
  std::string ErrorPagePath() override { return std::string(); }
  std::string MoreSitesPath() override { return std::string(); }

  int messages = 0;
};

bool read_file(const std::string& path, std::string& text, std::ostream& err) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  int error = errno;
  if (f) {
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    error = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (error == 0) return true;
  }
  err << "tovali-rules: "
      << fill(tr("cannot read {1}: {2}"),
              {path, error != 0 ? std::strerror(error) : tr("read error")})
      << '\n';
  return false;
}

}  // namespace

std::string RulesTool::usage() {
  return tr(
      "Usage: tovali-rules judge MENU_FILE LINK_URL URL...\n"
      "       tovali-rules lint MENU_FILE\n"
      "       tovali-rules --help\n"
      "\n"
      "judge  reads the menu page MENU_FILE (its body element, when it has one) and the\n"
      "       settings of the current user (global rules, parent's lists), acts as the\n"
      "       program does when the child clicks LINK_URL in that page, and judges each\n"
      "       URL as a main-frame navigation. One line per URL: the verdict, a tab, the\n"
      "       URL. Verdicts: admitted, refused (reported and logged), silent (refused\n"
      "       without a message). Writes nothing.\n"
      "lint   warns about URL comments of MENU_FILE that can never do what they seem\n"
      "       to mean, one line each with the line number; exit status 1 when it\n"
      "       warned, 0 otherwise.\n"
      "A wrong call or an unreadable file gives exit status 2.\n");
}

int RulesTool::run(const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err) const {
  const auto wrong_call = [&](const std::string& problem) {
    err << "tovali-rules: " << problem << '\n' << usage();
    return 2;
  };
  bool help = false;
  CommandLine line("tovali-rules");
  line.add_switch("help", 'h', &help);
  std::string problem;
  const std::optional<std::vector<std::string>> rest = line.parse(args, problem);
  if (!rest) return wrong_call(problem);
  if (help) {
    if (!rest->empty()) return wrong_call(tr("wrong call"));
    out << usage();
    return 0;
  }
  if (rest->size() >= 4 && (*rest)[0] == "judge") {
    return judge((*rest)[1], (*rest)[2], std::vector<std::string>(rest->begin() + 3, rest->end()),
                 out, err);
  }
  if (rest->size() == 2 && (*rest)[0] == "lint") return lint((*rest)[1], out, err);
  return wrong_call(tr("wrong call"));
}

int RulesTool::judge(const std::string& menu_file, const std::string& link_url,
                     const std::vector<std::string>& urls, std::ostream& out,
                     std::ostream& err) const {
  std::string file;
  if (!read_file(menu_file, file, err)) return 2;
  const Settings settings = m_settings();
  ProhibitedLog log;  // in memory only
  RecordingEffects effects;
  SteadyClock clock;
  NavigationGuard guard(settings, log, effects, clock);
  guard.UpdateLists();
  // The click on LINK_URL in the navigation frame.
  guard.NavFrameNavigateComplete2(std::string(menu_body(file).second));
  guard.follow_menu_link(link_url);

  for (const std::string& url : urls) {
    const int messages_before = effects.messages;
    const Verdict verdict = guard.WebBrowserBeforeNavigate2(url);
    const char* word = verdict == Verdict::Proceed           ? "admitted"
                       : effects.messages != messages_before ? "refused"
                                                             : "silent";
    out << word << '\t' << url << '\n';
  }
  return 0;
}

int RulesTool::lint(const std::string& menu_file, std::ostream& out, std::ostream& err) const {
  std::string file;
  if (!read_file(menu_file, file, err)) return 2;
  const std::vector<LintWarning> warnings = lint_menu_page(file);
  for (const LintWarning& w : warnings) out << menu_file << ':' << w.line << ": " << w.text << '\n';
  return warnings.empty() ? 0 : 1;
}

}  // namespace tovali
