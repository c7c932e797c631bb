#pragma once

#include <memory>

#include <glibmm/refptr.h>
#include <gtkmm/application.h>

namespace tovali {

class MainWindow;

// The running program: a Gtk::Application under the ID build::kAppId, so
// that one program runs per account. The first activation makes the main
// window; a second start of the program for the account only activates the
// running one, which brings its window to the front, and then exits with
// status 0. Without a session bus there is no way to find a running program;
// the program then runs on its own and says so on standard error.
class ExplorerApplication : public Gtk::Application {
 public:
  // GTK takes its own options (--display=...) out of `argv`.
  static Glib::RefPtr<ExplorerApplication> create(int& argc, char**& argv);
  ~ExplorerApplication() override;

  // 1 when the main window could not be made, else 0.
  int exit_status() const { return m_exit_status; }

  // The session is ending (SIGTERM and the like): the refused URLs and the
  // day's activity are saved, then the program leaves at once (modal windows
  // may be running their own loops).
  void end_session();

 protected:
  ExplorerApplication(int& argc, char**& argv);

  // Runs in the first program of the account only.
  void on_startup() override;
  // The first activation makes the window; a later one brings it to the
  // front.
  void on_activate() override;

 private:
  void make_window();
  void fail();

  std::unique_ptr<MainWindow> m_window;
  int m_exit_status = 0;
};

}  // namespace tovali
