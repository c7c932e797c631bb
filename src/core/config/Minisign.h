#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovali {

class SignaturePrimitives;

// A public key in the format of the minisign tool: an optional line
// "untrusted comment: ...", then Base64 of "Ed", the 8-byte key id and the
// 32-byte Ed25519 key.
struct MinisignPublicKey {
  std::string key_id;  // 8 bytes
  std::string key;     // 32 bytes
};

// How the document was signed: "Ed" signs the document itself, "ED" (what
// minisign 0.11 writes by default) signs its BLAKE2b-512 hash.
enum class MinisignAlgorithm { Legacy, Prehashed };

// A ".minisig" file: "untrusted comment: ...", Base64 of the algorithm, key id
// and 64-byte signature, "trusted comment: TEXT", Base64 of the 64-byte
// global signature over the signature followed by TEXT.
struct MinisignSignature {
  MinisignAlgorithm algorithm = MinisignAlgorithm::Prehashed;
  std::string key_id;     // 8 bytes
  std::string signature;  // 64 bytes
  std::string trusted_comment;
  std::string global_signature;  // 64 bytes
};

template <typename T>
struct MinisignParsed {
  std::optional<T> value;
  std::string problem;  // why there is no value
};

// Reads a public key file. Lines may end with LF or CR LF; blank lines are
// ignored. Anything else than the comment and the key line is a problem.
MinisignParsed<MinisignPublicKey> parse_minisign_public_key(std::string_view text);

// Reads a signature file; lines as for the key.
MinisignParsed<MinisignSignature> parse_minisign_signature(std::string_view text);

// Checks `signature_text` (a ".minisig" file) for `document` against `key`:
// the key ids match, the signature of the document (or of its BLAKE2b-512
// hash for "ED") holds, and the global signature over the trusted comment
// holds. Returns "" when all hold, else what is wrong, in plain words.
std::string minisign_problem(const MinisignPublicKey& key, std::string_view document,
                             std::string_view signature_text, const SignaturePrimitives& crypto);

// A key id as 16 upper-case hex digits (the number minisign shows).
std::string minisign_key_id_text(std::string_view key_id);

}  // namespace tovali
