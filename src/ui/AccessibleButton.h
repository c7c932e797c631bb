#pragma once

#include <functional>
#include <string>
#include <utility>

#include <atkmm/object.h>
#include <gtkmm/widget.h>

namespace tovali {

// The accessible object of a picture that works as a button: assistive
// technologies (screen readers, switch access, AT-SPI clients) see the role
// of a push button, `name`, and one action, "click", that runs `activate`
// from the main loop once the request has been answered (the action may
// open a modal window). `activate` runs through the callback guard.
Glib::RefPtr<Atk::Object> make_button_accessible(Gtk::Widget& widget, const std::string& name,
                                                 std::function<void()> activate);

// Renames an accessible object made by make_button_accessible.
void rename_button_accessible(const Glib::RefPtr<Atk::Object>& accessible, const std::string& name);

// Detaches the accessible object from its widget, which is going away; its
// action then does nothing.
void detach_button_accessible(const Glib::RefPtr<Atk::Object>& accessible);

// A widget drawn or labelled by the program (a picture, a word in a box) that
// a person activates with the mouse. present_as_button() gives it a button's
// accessible role, a name and a "click" action; without that call it keeps
// the accessible object of `Base`.
template <typename Base>
class AccessibleButton : public Base {
 public:
  using Base::Base;
  ~AccessibleButton() override {
    if (m_accessible) detach_button_accessible(m_accessible);
  }

  // Call before the accessible object is first asked for (in the
  // constructor of the window that holds the widget), or to rename it later.
  void present_as_button(const std::string& name, std::function<void()> activate) {
    m_name = name;
    m_activate = std::move(activate);
    if (m_accessible) rename_button_accessible(m_accessible, name);
  }
  void set_accessible_name(const std::string& name) {
    m_name = name;
    if (m_accessible) rename_button_accessible(m_accessible, name);
  }

 protected:
  Glib::RefPtr<Atk::Object> get_accessible_vfunc() override {
    if (!m_activate) return Base::get_accessible_vfunc();
    if (!m_accessible) m_accessible = make_button_accessible(*this, m_name, m_activate);
    return m_accessible;
  }

 private:
  std::string m_name;
  std::function<void()> m_activate;
  Glib::RefPtr<Atk::Object> m_accessible;
};

}  // namespace tovali
