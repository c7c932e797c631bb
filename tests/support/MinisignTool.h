#pragma once

#include <string>

namespace tovali::testing {

// What the minisign tool signs: the file's BLAKE2b-512 hash (its default,
// "ED") or the file itself (legacy, "Ed").
enum class MinisignStyle { Prehashed, Legacy };

// Makes a key pair without password with the minisign tool. Returns false,
// with `problem` set, when the tool fails.
bool minisign_make_key(const std::string& public_key, const std::string& secret_key,
                       std::string& problem);

// Signs `file` into `file` + ".minisig" with the minisign tool.
bool minisign_sign(const std::string& secret_key, const std::string& file, MinisignStyle style,
                   const std::string& trusted_comment, std::string& problem);

}  // namespace tovali::testing
