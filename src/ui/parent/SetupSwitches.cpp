#include "ui/parent/SetupSwitches.h"

#include "base/Translate.h"
#include "settings/Settings.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

void SetupSwitches::add_checks(Gtk::Box& box, SetupPlace place) {
  for (const SetupCheck& entry : setup_checks()) {
    if (entry.place != place) continue;
    const std::string name(entry.key.name());
    auto* check = Gtk::manage(new Gtk::CheckButton(tr(entry.caption)));
    check->set_name(name);
    box.pack_start(*check, Gtk::PACK_SHRINK);
    m_checks[name] = check;
    if (entry.warning == CheckWarning::Configuration) {
      check->signal_toggled().connect([this] {
        if (on_configuration_toggled) on_configuration_toggled();
      });
    }
  }
}

Gtk::Entry& SetupSwitches::add_entry(SettingKey key) {
  const std::string name(key.name());
  auto* entry = Gtk::manage(new Gtk::Entry());
  entry->set_name(name);
  m_entries[name] = entry;
  return *entry;
}

Gtk::CheckButton& SetupSwitches::check(const std::string& name) {
  return *m_checks.at(name);
}

Gtk::Entry& SetupSwitches::entry(const std::string& name) {
  return *m_entries.at(name);
}

void SetupSwitches::show(const SetupModel& model, DisplayTextMap& display) {
  for (const SetupCheck& box : setup_checks()) {
    check(box.key).set_active(model.*box.member);
    if (box.text) entry(box.text_key).set_text(display.show(model.*box.text));
  }
}

void SetupSwitches::read(SetupModel& model, const DisplayTextMap& display) const {
  for (const SetupCheck& box : setup_checks()) {
    const std::string name(box.key.name());
    model.*box.member = m_checks.at(name)->get_active();
    if (box.text) {
      model.*box.text = display.back(m_entries.at(std::string(box.text_key.name()))->get_text());
    }
  }
}

void SetupSwitches::show_locks(const Settings& settings) {
  for (const auto& [name, control] : m_checks) {
    if (settings.is_locked(name)) SetupLayout::lock(*control);
  }
  for (const auto& [name, control] : m_entries) {
    if (settings.is_locked(name)) SetupLayout::lock(*control);
  }
}

}  // namespace tovali
