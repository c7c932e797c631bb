#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tovali {

// True when `bytes` is well-formed UTF-8.
bool is_valid_utf8(std::string_view bytes);

// Settings values are byte strings; the windows show UTF-8. Valid UTF-8 is
// shown as it is; any other text is shown read as Latin-1. Remembers each
// converted text so that a value the parent leaves unchanged is stored back
// with its original bytes.
class DisplayTextMap {
 public:
  // The UTF-8 text to show for the stored `bytes`.
  std::string show(const std::string& bytes);

  // The bytes to store for a shown text: the original of a converted text
  // that is unchanged, else the shown text itself.
  std::string back(const std::string& shown) const;

 private:
  std::map<std::string, std::string> m_originals;  // shown -> stored
};

}  // namespace tovali
