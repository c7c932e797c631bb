#pragma once

#include <gio/gio.h>

#include <string>

namespace tovali {

// What becomes of a server certificate that the system's trust store refused.
enum class CertificateVerdict {
  Accepted,  // an extra authority vouches for it, for this host name
  Refused,
};

// The authorities the engine trusts beyond the system's store: those of one
// PEM file, the administrator's ca.pem, which the configuration download
// trusts too. Without a file it accepts nothing.
class TlsTrust {
 public:
  TlsTrust() = default;
  ~TlsTrust();
  TlsTrust(const TlsTrust&) = delete;
  TlsTrust& operator=(const TlsTrust&) = delete;

  // Trusts the certificates in `pem_path` from now on, in place of any
  // earlier file. False, with `problem` set and nothing trusted, when the
  // file cannot be read or holds no certificate.
  bool load(const std::string& pem_path, std::string& problem);

  // Accepted when `certificate`'s chain leads to one of the loaded
  // authorities, every certificate in it is valid today and the server
  // certificate names `host`. Refused otherwise, and always for an empty host,
  // a null certificate or when no file is loaded.
  CertificateVerdict verdict(GTlsCertificate* certificate, const std::string& host) const;

 private:
  GTlsDatabase* m_authorities = nullptr;
};

}  // namespace tovali
