#pragma once

#include <string>
#include <string_view>

namespace tovali {

// The cryptography that checking a signed configuration needs, supplied by
// a library outside the core.
class SignaturePrimitives {
 public:
  virtual ~SignaturePrimitives() = default;

  // True when the 64-byte Ed25519 `signature` of `message` is valid for the
  // 32-byte `public_key`. False for any argument of the wrong size.
  virtual bool ed25519_verify(std::string_view signature, std::string_view message,
                              std::string_view public_key) const = 0;

  // The 64-byte BLAKE2b-512 hash of `data` (no key).
  virtual std::string blake2b_512(std::string_view data) const = 0;
};

}  // namespace tovali
