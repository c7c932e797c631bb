#pragma once

#include "ui/parent/ControlPanelForm.h"

namespace tovali {

// The three pictures of one control panel, for tests that click them.
class ControlPanelFormTestAccess {
 public:
  explicit ControlPanelFormTestAccess(ControlPanelForm& panel) : m_panel(panel) {}

  StarBurstPicture& close_image() { return m_panel.m_close_image; }
  StarBurstPicture& setup_image() { return m_panel.m_setup_image; }
  StarBurstPicture& ok_image() { return m_panel.m_ok_image; }

 private:
  ControlPanelForm& m_panel;
};

}  // namespace tovali
