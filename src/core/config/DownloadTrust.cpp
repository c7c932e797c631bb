#include "config/DownloadTrust.h"

namespace tovali {

DownloadTrust DownloadTrust::refusing(std::string problem) {
  DownloadTrust trust;
  trust.m_problem = std::move(problem);
  return trust;
}

DownloadTrust DownloadTrust::requiring_signature(MinisignPublicKey key,
                                                 const SignaturePrimitives& crypto) {
  DownloadTrust trust;
  trust.m_key = std::move(key);
  trust.m_crypto = &crypto;
  return trust;
}

std::string DownloadTrust::signature_problem(std::string_view document,
                                             std::string_view signature_text) const {
  if (!m_key || !m_crypto) return "";
  return minisign_problem(*m_key, document, signature_text, *m_crypto);
}

}  // namespace tovali
