#include "GtkFixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <glibmm/main.h>
#include <gtkmm/main.h>
#include <gtkmm/messagedialog.h>

#include "Polling.h"

namespace tovali::test {

void pump() {
  while (Gtk::Main::events_pending()) Gtk::Main::iteration(false);
}

bool pump_until(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + testing::scaled(testing::kEventTimeout);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (Gtk::Main::events_pending()) {
      Gtk::Main::iteration(false);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  return true;
}

MessageCatcher::MessageCatcher() {
  m_source = g_timeout_add(
      20,
      [](gpointer self) -> gboolean {
        auto* catcher = static_cast<MessageCatcher*>(self);
        if (auto* box = find_window<Gtk::MessageDialog>()) {
          Caught c;
          c.text = box->property_text().get_value();
          if (auto* parent = box->get_transient_for()) {
            c.parent_title = parent->get_title();
            c.parent_visible = parent->get_visible();
          }
          catcher->caught.push_back(c);
          box->response(Gtk::RESPONSE_OK);
        }
        return G_SOURCE_CONTINUE;
      },
      this);
}

MessageCatcher::~MessageCatcher() {
  g_source_remove(m_source);
}

std::vector<std::string> MessageCatcher::texts() const {
  std::vector<std::string> out;
  for (const auto& c : caught) out.push_back(c.text);
  return out;
}

Script::Script(std::vector<std::function<bool()>> steps) : m_steps(std::move(steps)) {
  m_source = g_timeout_add(
      20,
      [](gpointer self) -> gboolean {
        auto* script = static_cast<Script*>(self);
        if (script->finished()) return G_SOURCE_CONTINUE;
        if (script->m_steps[script->m_next]()) ++script->m_next;
        return G_SOURCE_CONTINUE;
      },
      this);
}

Script::~Script() {
  g_source_remove(m_source);
}

void screenshot(const std::string& name) {
  const char* dir = std::getenv("TOVALI_SCREENSHOT_DIR");
  if (dir == nullptr || *dir == '\0') return;
  // Let the frame clock paint what changed.
  const auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  pump_until([&] { return std::chrono::steady_clock::now() > settle; });
  const std::string command = "import -window root '" + std::string(dir) + "/" + name + ".png'";
  [[maybe_unused]] const int status = std::system(command.c_str());
}

}  // namespace tovali::test
