#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtkmm/window.h>

namespace tovali::test {

// Runs pending GTK events until none are left.
void pump();

// Runs the main loop until `condition` holds (bounded by the harness's
// kEventTimeout, scaled); returns whether it did.
bool pump_until(const std::function<bool()>& condition);

// The first visible toplevel window of type W, or nullptr.
template <typename W>
W* find_window() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    if (auto* w = dynamic_cast<W*>(window); w && w->get_visible()) return w;
  }
  return nullptr;
}

// While alive, answers every message box that appears with OK and records
// its text (with the transient parent's title and whether it was visible).
class MessageCatcher {
 public:
  struct Caught {
    std::string text;
    std::string parent_title;
    bool parent_visible = false;
  };
  MessageCatcher();
  ~MessageCatcher();
  std::vector<Caught> caught;
  std::vector<std::string> texts() const;

 private:
  unsigned m_source = 0;
};

// Steps run one per main-loop tick (every 20 ms) while a modal window runs:
// each step returns true when it is done, false to be asked again.
class Script {
 public:
  explicit Script(std::vector<std::function<bool()>> steps);
  ~Script();
  bool finished() const { return m_next >= m_steps.size(); }

 private:
  std::vector<std::function<bool()>> m_steps;
  std::size_t m_next = 0;
  unsigned m_source = 0;
};

// Saves a screenshot of the screen as <dir>/<name>.png when the environment
// names a folder in TOVALI_SCREENSHOT_DIR.
void screenshot(const std::string& name);

}  // namespace tovali::test
