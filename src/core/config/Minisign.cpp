#include "config/Minisign.h"

#include <cstdio>
#include <vector>

#include "config/SignaturePrimitives.h"

namespace tovali {

namespace {

constexpr std::string_view kUntrusted = "untrusted comment:";
constexpr std::string_view kTrusted = "trusted comment: ";
constexpr std::size_t kKeyIdBytes = 8;
constexpr std::size_t kKeyBytes = 32;
constexpr std::size_t kSignatureBytes = 64;

int base64_value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Strict standard Base64: whole groups of four, "=" only at the very end.
std::optional<std::string> base64_decode(std::string_view text) {
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  while (padding < 2 && text[text.size() - 1 - padding] == '=') ++padding;
  std::string out;
  unsigned bits = 0;
  int bit_count = 0;
  for (std::size_t i = 0; i < text.size() - padding; ++i) {
    const int value = base64_value(text[i]);
    if (value < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned>(value);
    bit_count += 6;
    if (bit_count >= 8) {
      bit_count -= 8;
      out += static_cast<char>((bits >> bit_count) & 0xFF);
    }
  }
  return out;
}

// The lines of a small text file without their line ends and without blank
// lines.
std::vector<std::string_view> content_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

MinisignParsed<MinisignPublicKey> parse_minisign_public_key(std::string_view text) {
  MinisignParsed<MinisignPublicKey> parsed;
  std::vector<std::string_view> lines = content_lines(text);
  if (!lines.empty() && starts_with(lines[0], kUntrusted)) lines.erase(lines.begin());
  if (lines.size() != 1) {
    parsed.problem = "not a minisign public key (expected one key line)";
    return parsed;
  }
  const auto bytes = base64_decode(lines[0]);
  if (!bytes || bytes->size() != 2 + kKeyIdBytes + kKeyBytes) {
    parsed.problem = "not a minisign public key (the key line is not a Base64 key)";
    return parsed;
  }
  if (bytes->compare(0, 2, "Ed") != 0) {
    parsed.problem = "not a minisign public key (unknown algorithm)";
    return parsed;
  }
  parsed.value = MinisignPublicKey{bytes->substr(2, kKeyIdBytes), bytes->substr(2 + kKeyIdBytes)};
  return parsed;
}

MinisignParsed<MinisignSignature> parse_minisign_signature(std::string_view text) {
  MinisignParsed<MinisignSignature> parsed;
  const std::vector<std::string_view> lines = content_lines(text);
  if (lines.size() != 4 || !starts_with(lines[0], kUntrusted) || !starts_with(lines[2], kTrusted)) {
    parsed.problem = "not a minisign signature";
    return parsed;
  }
  const auto signature = base64_decode(lines[1]);
  if (!signature || signature->size() != 2 + kKeyIdBytes + kSignatureBytes) {
    parsed.problem = "not a minisign signature (the signature line is malformed)";
    return parsed;
  }
  MinisignSignature value;
  const std::string algorithm = signature->substr(0, 2);
  if (algorithm == "ED") {
    value.algorithm = MinisignAlgorithm::Prehashed;
  } else if (algorithm == "Ed") {
    value.algorithm = MinisignAlgorithm::Legacy;
  } else {
    parsed.problem = "not a minisign signature (unknown algorithm)";
    return parsed;
  }
  const auto global = base64_decode(lines[3]);
  if (!global || global->size() != kSignatureBytes) {
    parsed.problem = "not a minisign signature (the global signature is malformed)";
    return parsed;
  }
  value.key_id = signature->substr(2, kKeyIdBytes);
  value.signature = signature->substr(2 + kKeyIdBytes);
  value.trusted_comment = std::string(lines[2].substr(kTrusted.size()));
  value.global_signature = *global;
  parsed.value = std::move(value);
  return parsed;
}

std::string minisign_problem(const MinisignPublicKey& key, std::string_view document,
                             std::string_view signature_text, const SignaturePrimitives& crypto) {
  const auto parsed = parse_minisign_signature(signature_text);
  if (!parsed.value) return parsed.problem;
  const MinisignSignature& signature = *parsed.value;
  if (signature.key_id != key.key_id) {
    return "signed with key " + minisign_key_id_text(signature.key_id) + ", not with key " +
           minisign_key_id_text(key.key_id);
  }
  const std::string message = signature.algorithm == MinisignAlgorithm::Prehashed
                                  ? crypto.blake2b_512(document)
                                  : std::string(document);
  if (!crypto.ed25519_verify(signature.signature, message, key.key)) {
    return "the signature does not match the document";
  }
  if (!crypto.ed25519_verify(signature.global_signature,
                             signature.signature + signature.trusted_comment, key.key)) {
    return "the signature of the trusted comment does not match";
  }
  return "";
}

std::string minisign_key_id_text(std::string_view key_id) {
  std::string text;
  for (auto it = key_id.rbegin(); it != key_id.rend(); ++it) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*it));
    text += digits;
  }
  return text;
}

}  // namespace tovali
