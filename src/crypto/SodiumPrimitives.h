#pragma once

#include "config/SignaturePrimitives.h"

namespace tovali {

// Ed25519 and BLAKE2b-512 from libsodium. Creating one initialises libsodium
// (throws std::runtime_error when it cannot).
class SodiumPrimitives : public SignaturePrimitives {
 public:
  SodiumPrimitives();

  bool ed25519_verify(std::string_view signature, std::string_view message,
                      std::string_view public_key) const override;
  std::string blake2b_512(std::string_view data) const override;
};

}  // namespace tovali
