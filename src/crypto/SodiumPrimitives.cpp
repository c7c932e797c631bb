#include "crypto/SodiumPrimitives.h"

#include <stdexcept>

#include <sodium.h>

namespace tovali {

namespace {

const unsigned char* bytes_of(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

SodiumPrimitives::SodiumPrimitives() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
}

bool SodiumPrimitives::ed25519_verify(std::string_view signature, std::string_view message,
                                      std::string_view public_key) const {
  if (signature.size() != crypto_sign_BYTES || public_key.size() != crypto_sign_PUBLICKEYBYTES) {
    return false;
  }
  return crypto_sign_verify_detached(bytes_of(signature), bytes_of(message), message.size(),
                                     bytes_of(public_key)) == 0;
}

std::string SodiumPrimitives::blake2b_512(std::string_view data) const {
  std::string hash(crypto_generichash_BYTES_MAX, '\0');
  crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), hash.size(), bytes_of(data),
                     data.size(), nullptr, 0);
  return hash;
}

}  // namespace tovali
