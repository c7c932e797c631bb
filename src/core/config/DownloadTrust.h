#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/Minisign.h"

namespace tovali {

class SignaturePrimitives;

// What the configuration download demands before it applies a document,
// beyond a 200 answer: nothing (the default), a valid minisign signature by
// the administrator's key, or nothing at all is trusted (a file of the
// administrator's folder could not be used), so that every site fails.
class DownloadTrust {
 public:
  DownloadTrust() = default;

  // Every download fails, saying `problem` (not empty).
  static DownloadTrust refusing(std::string problem);

  // Every document must come with a valid signature by `key`. `crypto` must
  // outlive the object.
  static DownloadTrust requiring_signature(MinisignPublicKey key,
                                           const SignaturePrimitives& crypto);

  // "" unless every download must fail.
  const std::string& problem() const { return m_problem; }

  bool requires_signature() const { return m_key.has_value(); }

  // "" when `signature_text` is a valid signature of `document` by the key
  // (always "" when no signature is required); else what is wrong.
  std::string signature_problem(std::string_view document, std::string_view signature_text) const;

 private:
  std::string m_problem;
  std::optional<MinisignPublicKey> m_key;
  const SignaturePrimitives* m_crypto = nullptr;
};

}  // namespace tovali
