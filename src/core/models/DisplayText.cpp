#include "models/DisplayText.h"

namespace tovali {

bool is_valid_utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, min = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, min = 0x800, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000, code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string DisplayTextMap::show(const std::string& bytes) {
  if (is_valid_utf8(bytes)) return bytes;
  std::string shown;
  shown.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      shown += ch;
    } else {
      shown += static_cast<char>(0xC0 | (c >> 6));
      shown += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  m_originals.emplace(shown, bytes);
  return shown;
}

std::string DisplayTextMap::back(const std::string& shown) const {
  const auto it = m_originals.find(shown);
  return it == m_originals.end() ? shown : it->second;
}

}  // namespace tovali
