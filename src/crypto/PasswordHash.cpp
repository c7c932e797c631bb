#include "crypto/PasswordHash.h"

#include <crypt.h>

#include <memory>

namespace tovali {

namespace {

bool has_supported_prefix(std::string_view hash) {
  return hash.substr(0, 3) == "$y$" || hash.substr(0, 3) == "$6$";
}

// libcrypt takes C strings of a bounded length.
bool usable_phrase(std::string_view text) {
  return text.find('\0') == std::string_view::npos && text.size() < CRYPT_MAX_PASSPHRASE_SIZE;
}

// crypt_r of `password` with `setting`; "" when libcrypt refuses.
std::string crypt_text(std::string_view password, std::string_view setting) {
  if (!usable_phrase(password) || !usable_phrase(setting)) return {};
  // crypt_data is tens of kilobytes: not for the stack.
  auto data = std::make_unique<crypt_data>();
  const std::string phrase(password);
  const std::string salt(setting);
  const char* result = crypt_r(phrase.c_str(), salt.c_str(), data.get());
  if (result == nullptr || result[0] == '*') return {};
  return result;
}

bool equal_in_constant_time(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  }
  return difference == 0;
}

}  // namespace

bool is_supported_password_hash(std::string_view hash) {
  if (!has_supported_prefix(hash)) return false;
  // libcrypt answers a malformed setting with a failure token, whatever the
  // password; a whole hash gives a hash of its own form and length with the
  // same setting (everything up to the last "$"), and a bare setting does not.
  const std::string probe = crypt_text("", hash);
  const auto setting_end = hash.rfind('$');
  return !probe.empty() && probe.size() == hash.size() &&
         probe.compare(0, setting_end, hash.substr(0, setting_end)) == 0 &&
         probe.rfind('$') == setting_end;
}

bool password_matches_hash(std::string_view password, std::string_view hash) {
  if (!has_supported_prefix(hash)) return false;
  const std::string computed = crypt_text(password, hash);
  return !computed.empty() && equal_in_constant_time(computed, hash);
}

std::optional<std::string> hash_password(std::string_view password) {
  if (!usable_phrase(password)) return std::nullopt;
  char setting[CRYPT_GENSALT_OUTPUT_SIZE];
  // A null random-bytes argument makes libcrypt take the salt from the system's random
  // source; a count of 0 is its default cost.
  if (crypt_gensalt_rn("$y$", 0, nullptr, 0, setting, sizeof setting) == nullptr) {
    return std::nullopt;
  }
  std::string hash = crypt_text(password, setting);
  if (hash.empty()) return std::nullopt;
  return hash;
}

}  // namespace tovali
