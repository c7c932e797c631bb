#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovali {

// True when `hash` is a crypt(3) hash of a method the administrator may use
// (yescrypt "$y$" or SHA-512 "$6$") and libcrypt accepts it as one.
bool is_supported_password_hash(std::string_view hash);

// True when `password` is the password of `hash` (libcrypt's crypt_r with
// the hash as its setting). False for a hash of another method, a malformed
// hash, and a password that holds a NUL byte or is longer than libcrypt
// takes. The hashes are compared in constant time.
bool password_matches_hash(std::string_view password, std::string_view hash);

// A new yescrypt hash of `password` with a random salt from the system and
// libcrypt's default cost; nullopt when libcrypt fails or the password
// cannot be hashed (NUL byte, too long).
std::optional<std::string> hash_password(std::string_view password);

}  // namespace tovali
