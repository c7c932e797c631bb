#include "browser/TlsTrust.h"

#include <gio/gio.h>

namespace tovali {

TlsTrust::~TlsTrust() {
  if (m_authorities) g_object_unref(m_authorities);
}

bool TlsTrust::load(const std::string& pem_path, std::string& problem) {
  if (m_authorities) g_object_unref(m_authorities);
  m_authorities = nullptr;
  GError* error = nullptr;
  GTlsDatabase* authorities = g_tls_file_database_new(pem_path.c_str(), &error);
  if (!authorities) {
    problem = error && error->message ? error->message : "cannot read " + pem_path;
    if (error) g_error_free(error);
    return false;
  }
  m_authorities = authorities;
  return true;
}

CertificateVerdict TlsTrust::verdict(GTlsCertificate* certificate, const std::string& host) const {
  if (!m_authorities || !certificate || host.empty()) return CertificateVerdict::Refused;
  // The port plays no part in the name check.
  GSocketConnectable* identity = g_network_address_new(host.c_str(), 0);
  GError* error = nullptr;
  const GTlsCertificateFlags faults = g_tls_database_verify_chain(
      m_authorities, certificate, G_TLS_DATABASE_PURPOSE_AUTHENTICATE_SERVER, identity, nullptr,
      G_TLS_DATABASE_VERIFY_NONE, nullptr, &error);
  g_object_unref(identity);
  if (error) {
    g_error_free(error);
    return CertificateVerdict::Refused;
  }
  return faults == 0 ? CertificateVerdict::Accepted : CertificateVerdict::Refused;
}

}  // namespace tovali
