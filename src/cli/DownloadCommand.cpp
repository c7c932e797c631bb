#include "cli/DownloadCommand.h"

#include <ostream>

#include <giomm/init.h>
#include <glibmm/main.h>

#include "base/Translate.h"
#include "config/StatusReporter.h"
#include "gio/ConfigDownload.h"
#include "settings/InstallLayout.h"
#include "settings/ScrambledFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SystemFolder.h"
#include "settings/SystemSettings.h"

namespace tovali {

namespace {

// Prints the status line's texts as they are shown. Setting the text that is
// already shown shows nothing new, unless a request started in between.
class PrintedStatus : public StatusReporter {
 public:
  explicit PrintedStatus(std::ostream& out) : m_out(out) {}

  void set_status_text(const std::string& text) override {
    if (m_shown && text == m_last) return;
    m_out << text << '\n' << std::flush;
    m_last = text;
    m_shown = true;
  }

  void request_started() { m_shown = false; }

 private:
  std::ostream& m_out;
  std::string m_last;
  bool m_shown = false;
};

void report_save_failures(const SaveReport& report, std::ostream& err) {
  for (const auto& failure : report.failures) {
    err << "tovali-settings: "
        << fill(tr("could not save {1}: {2}"), {failure.path, failure.reason}) << '\n';
  }
}

}  // namespace

int run_download_command(const std::string& settings_dir, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << tr("Usage: tovali-settings download\n");
    return 2;
  }
  Gio::init();
  Locations locations = current_locations();
  locations.settings_dir = settings_dir;
  StartupState state = run_startup_settings_steps(locations);
  report_save_failures(state.save_failures, err);
  report_system_settings_problems(state.system_settings_problems, err);
  if (state.system_settings_unreadable) {
    err << "tovali-settings: "
        << fill(tr("the administrator's {1} cannot be read, so no configuration is fetched until "
                   "it is mended"),
                {locations.system_dir + kSystemSettingsFile})
        << '\n';
    return 1;
  }
  const ConfigStore store(settings_dir);

  PrintedStatus status(out);
  ConfigDownload download(state.settings, store, state.SiteBaseURL, status, [] { return false; });
  download.http_client().events().OnStateChange = [&status](HttpCli& cli) {
    if (cli.State() == HttpState::Starting) status.request_started();
  };

  RemoteConfigResult result;
  bool finished = false;
  auto loop = Glib::MainLoop::create();
  Glib::signal_idle().connect_once([&] {
    try {
      result = download.GetRemoteConfig();
      finished = true;
    } catch (...) {
    }
    loop->quit();
  });
  loop->run();

  if (!finished) return 1;
  for (const std::string& refusal : result.refusals) {
    err << "tovali-settings: " << fill(tr("configuration refused from {1}"), {refusal}) << '\n';
  }
  for (const int site : result.too_many_lines) {
    err << "tovali-settings: "
        << fill(tr("the configuration from site-{1} ({2}) would leave more than {3} settings "
                   "lines; it was not applied"),
                {std::to_string(site),
                 state.settings.value(std::string(keys::site_prefix) + std::to_string(site)),
                 std::to_string(kMaxCountedLines)})
        << '\n';
  }
  switch (result.outcome) {
    case RemoteConfigOutcome::Disabled:
      return 0;
    case RemoteConfigOutcome::Applied:
      for (const std::string& warning : result.value_warnings) {
        err << "tovali-settings: "
            << fill(tr("the configuration from site-{1} gives a value its key cannot hold: {2} "
                       "(applied as given)"),
                    {std::to_string(result.site), warning})
            << '\n';
      }
      report_save_failures(result.save, err);
      return result.save.ok() ? 0 : 1;
    case RemoteConfigOutcome::NoSites:
    case RemoteConfigOutcome::NoSiteAnswered:
      break;
  }
  return 1;
}

SettingsTool::Command make_download_command(const std::string& settings_dir) {
  return
      [settings_dir](const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
        return run_download_command(settings_dir, args, out, err);
      };
}

}  // namespace tovali
