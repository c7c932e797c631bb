#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "config/Minisign.h"

namespace tovali {

// The administrator's files that decide what the configuration download
// trusts. Each one is optional; one that is there but cannot be used is a
// problem, and then the download must trust nothing.
struct TrustFiles {
  static constexpr const char* kCaFileName = "ca.pem";
  static constexpr const char* kConfigKeyName = "config-key.pub";
  static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

  std::string ca_file;                          // path of ca.pem; "" when there is none
  std::optional<MinisignPublicKey> config_key;  // from config-key.pub, when there is one
  std::string problem;                          // "" when every file present is usable
};

// Looks for ca.pem and config-key.pub in `folder` (ending in "/"). ca.pem
// must be a readable file holding at least one PEM certificate (its
// certificates are read by the socket layer); config-key.pub must be a
// minisign public key. A file that is there but unreadable, too large or
// malformed sets `problem`, naming the file.
TrustFiles read_trust_files(const std::string& folder);

}  // namespace tovali
