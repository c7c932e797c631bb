#include "gio/ConfigDownload.h"

#include "config/TrustFiles.h"

namespace tovali {

namespace {

DownloadTrust load_trust(const std::string& system_dir, GioSocket& socket,
                         const SignaturePrimitives& crypto) {
  TrustFiles files = read_trust_files(system_dir);
  if (!files.problem.empty()) return DownloadTrust::refusing(files.problem);
  if (!files.ca_file.empty()) {
    std::string problem;
    if (!socket.trust_certificates_in(files.ca_file, problem)) {
      return DownloadTrust::refusing("cannot read " + files.ca_file + ": " + problem);
    }
  }
  if (files.config_key) return DownloadTrust::requiring_signature(*files.config_key, crypto);
  return DownloadTrust();
}

}  // namespace

ConfigDownload::ConfigDownload(Settings& settings, const ConfigStore& store,
                               std::string& SiteBaseURL, StatusReporter& status,
                               std::function<bool()> CloseAllowed, const std::string& system_dir)
    : m_trust(load_trust(system_dir, m_socket, m_crypto)),
      m_http_client(m_socket, m_main_loop),
      m_remote(RemoteConfigParts{settings, store, SiteBaseURL, m_http_client, m_main_loop, m_proxy,
                                 status, std::move(CloseAllowed), &m_trust}) {}

}  // namespace tovali
