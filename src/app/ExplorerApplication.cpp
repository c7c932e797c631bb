#include "app/ExplorerApplication.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>

#include <glib-unix.h>
#include <glibmm/miscutils.h>

#include "BuildConfig.h"
#include "psl/LibpslSuffixList.h"
#include "settings/InstallLayout.h"
#include "ui/child/MainWindow.h"
#include "ui/widgets/WidgetMenus.h"

namespace tovali {

namespace {

gboolean on_session_end(gpointer data) {
  static_cast<ExplorerApplication*>(data)->end_session();
  std::cout.flush();
  std::exit(0);
  return G_SOURCE_REMOVE;
}

}  // namespace

Glib::RefPtr<ExplorerApplication> ExplorerApplication::create(int& argc, char**& argv) {
  return Glib::RefPtr<ExplorerApplication>(new ExplorerApplication(argc, argv));
}

ExplorerApplication::ExplorerApplication(int& argc, char**& argv)
    : Gtk::Application(argc, argv, build::kAppId) {}

ExplorerApplication::~ExplorerApplication() = default;

void ExplorerApplication::end_session() {
  if (m_window) m_window->end_session();
}

void ExplorerApplication::on_startup() {
  Gtk::Application::on_startup();
  Glib::set_application_name("Tovali Explorer");
  block_widget_menus();
  LibpslSuffixList::install();
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
    g_unix_signal_add(signal_number, &on_session_end, this);
  if (!get_dbus_connection())
    std::cerr << "tovali-explorer: no session bus: cannot check for a second instance of the "
                 "program; this one runs on its own\n";
}

void ExplorerApplication::on_activate() {
  try {
    if (m_window) {
      m_window->present();
      return;
    }
    make_window();
  } catch (const std::exception& e) {
    std::cerr << "tovali-explorer: " << e.what() << "\n";
    fail();
  } catch (...) {
    std::cerr << "tovali-explorer: the window could not be made\n";
    fail();
  }
}

void ExplorerApplication::make_window() {
  const Locations locations = current_locations();
  std::string state_error;
  if (!create_state_dir(locations, &state_error))
    std::cerr << "tovali-explorer: " << state_error << "\n";
  m_window = std::make_unique<MainWindow>(locations);
  add_window(*m_window);
  m_window->show();
}

void ExplorerApplication::fail() {
  m_exit_status = 1;
  m_window.reset();
  quit();
}

}  // namespace tovali
