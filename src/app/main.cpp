// Tovali Explorer: the program entry.
//
// One program runs per account: the application registers its ID on the
// session bus, and a second start only asks the running program to bring its
// window to the front, then exits with status 0. Without a session bus there
// is no way to find a running program; the program then runs on its own and
// says so on standard error.
#include <csignal>
#include <iostream>
#include <memory>

#include <gdk/gdk.h>
#include <giomm/init.h>
#include <glib-unix.h>
#include <glibmm/miscutils.h>
#include <gtkmm/application.h>

#include "BuildConfig.h"
#include "psl/LibpslSuffixList.h"
#include "settings/InstallLayout.h"
#include "ui/MainWindow.h"
#include "ui/WidgetMenus.h"

namespace {

tovali::MainWindow* g_window = nullptr;

// The session is ending: the refused URLs are saved, then the program leaves
// at once (modal windows may be running their own loops).
gboolean on_session_end(gpointer) {
  if (g_window) g_window->end_session();
  std::cout.flush();
  std::exit(0);
  return G_SOURCE_REMOVE;
}

// The running program: its window, made at the first activation.
class ExplorerProgram {
 public:
  explicit ExplorerProgram(Glib::RefPtr<Gtk::Application> app) : m_app(std::move(app)) {
    m_app->signal_startup().connect(sigc::mem_fun(*this, &ExplorerProgram::on_startup));
    m_app->signal_activate().connect(sigc::mem_fun(*this, &ExplorerProgram::on_activate));
  }

  ~ExplorerProgram() { g_window = nullptr; }

  int exit_status() const { return m_exit_status; }

 private:
  // Runs in the first program of the account only.
  void on_startup() {
    Glib::set_application_name("Tovali Explorer");
    tovali::BlockWidgetMenus();
    tovali::LibpslSuffixList::install();
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
      g_unix_signal_add(signal_number, &on_session_end, nullptr);
    if (!m_app->get_dbus_connection())
      std::cerr << "tovali-explorer: no session bus: cannot check for a second instance of the "
                   "program; this one runs on its own\n";
  }

  // The first activation makes the window; a later one (a second start for
  // this account) brings it to the front.
  void on_activate() {
    try {
      if (m_window) {
        m_window->present();
        return;
      }
      const tovali::Locations locations = tovali::CurrentLocations();
      std::string state_error;
      if (!tovali::CreateStateDir(locations, &state_error))
        std::cerr << "tovali-explorer: " << state_error << "\n";
      m_window = std::make_unique<tovali::MainWindow>(locations);
      g_window = m_window.get();
      m_app->add_window(*m_window);
      m_window->show();
    } catch (const std::exception& e) {
      std::cerr << "tovali-explorer: " << e.what() << "\n";
      fail();
    } catch (...) {
      std::cerr << "tovali-explorer: the window could not be made\n";
      fail();
    }
  }

  void fail() {
    m_exit_status = 1;
    g_window = nullptr;
    m_window.reset();
    m_app->quit();
  }

  Glib::RefPtr<Gtk::Application> m_app;
  std::unique_ptr<tovali::MainWindow> m_window;
  int m_exit_status = 0;
};

}  // namespace

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  Gio::init();
  // GTK takes its own options (--display=...) out of argv here, as before.
  auto app = Gtk::Application::create(argc, argv, tovali::build::kAppId);
  ExplorerProgram program(app);
  const int status = app->run();
  return status != 0 ? status : program.exit_status();
}
