// Tovali Explorer: the program entry.
#include <csignal>
#include <iostream>

#include <gdk/gdk.h>
#include <giomm/init.h>
#include <glib-unix.h>
#include <glibmm/miscutils.h>
#include <gtkmm/main.h>

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

}  // namespace

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  Gtk::Main kit(argc, argv);
  Gio::init();
  Glib::set_application_name("Tovali Explorer");
  tovali::BlockWidgetMenus();
  tovali::LibpslSuffixList::install();

  for (int signal_number : {SIGTERM, SIGHUP, SIGINT})
    g_unix_signal_add(signal_number, &on_session_end, nullptr);

  const tovali::Locations locations = tovali::CurrentLocations();
  std::string state_error;
  if (!tovali::CreateStateDir(locations, &state_error))
    std::cerr << "tovali-explorer: " << state_error << "\n";
  try {
    tovali::MainWindow window(locations);
    g_window = &window;
    window.show();
    Gtk::Main::run(window);
    g_window = nullptr;
  } catch (const std::exception& e) {
    std::cerr << "tovali-explorer: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
