#include "ui/parent/SetupDownloadsPage.h"

#include "base/Translate.h"
#include "models/SetupApply.h"
#include "settings/SettingsKeys.h"
#include "ui/parent/SetupLayout.h"

namespace tovali {

SetupDownloadsPage::SetupDownloadsPage() : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 4) {
  set_border_width(10);
  pack_start(
      SetupLayout::label(tr("Prohibit access to URL's that end with these file extensions:")),
      Gtk::PACK_SHRINK);
  m_prohibited_file_exts_memo.set_size_request(200, 200);
  m_prohibited_file_exts_memo.set_halign(Gtk::ALIGN_START);
  pack_start(m_prohibited_file_exts_memo, Gtk::PACK_SHRINK);
  pack_start(
      SetupLayout::label(tr("(Enter one per line, and do not include the preceding period)")),
      Gtk::PACK_SHRINK);
}

void SetupDownloadsPage::show(const SetupModel& model, DisplayTextMap& display) {
  TextList lines;
  for (const auto& line : model.prohibited_file_exts_memo) lines.push_back(display.show(line));
  m_prohibited_file_exts_memo.set_lines(lines);
}

void SetupDownloadsPage::read(SetupModel& model, const DisplayTextMap& display) const {
  TextList lines;
  for (const auto& line : m_prohibited_file_exts_memo.lines()) lines.push_back(display.back(line));
  model.prohibited_file_exts_memo = lines;
}

void SetupDownloadsPage::show_locks(const Settings& settings) {
  if (list_locked(settings, keys::num_prohibited_file_exts, {keys::pext_prefix})) {
    SetupLayout::lock(m_prohibited_file_exts_memo);
  }
}

}  // namespace tovali
