#pragma once

#include <gtkmm/box.h>
#include <gtkmm/dialog.h>
#include <gtkmm/eventbox.h>

#include "base/Translate.h"
#include "models/ControlPanelHost.h"
#include "ui/widgets/StarBurstPicture.h"

namespace tovali {

// The control panel "Tovali Explorer": three picture buttons to close the
// program, to enter setup, or to go back to browsing.
class ControlPanelForm : public Gtk::Dialog {
 public:
  ControlPanelForm(Gtk::Window* parent, ControlPanelHost& host);

  // Shows the panel modally until one of its pictures closes it.
  void run_modal();

 private:
  // Tests reach the pictures through it.
  friend class ControlPanelFormTestAccess;

  void on_close_picture_clicked();
  void on_setup_picture_clicked();
  void on_ok_picture_clicked();

  ControlPanelHost& m_host;
  Gtk::EventBox m_background;
  Gtk::Box m_column{Gtk::ORIENTATION_VERTICAL, 0};
  StarBurstPicture m_close_image{tr("Close"), 239, 100};
  StarBurstPicture m_setup_image{tr("Setup"), 180, 98};
  StarBurstPicture m_ok_image{tr("OK"), 239, 100};
};

// Opens the control panel on top of `parent` and returns when it has closed
// (a double click on the tools picture of the main window).
void open_control_panel(Gtk::Window* parent, ControlPanelHost& host);

}  // namespace tovali
