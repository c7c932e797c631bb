#include "net/ConfigDownload.h"

namespace tovali {

ConfigDownload::ConfigDownload(Settings& settings, const ConfigStore& store,
                               std::string& SiteBaseURL, StatusReporter& status,
                               std::function<bool()> CloseAllowed)
    : m_http_cli2(m_socket, m_main_loop),
      m_remote(RemoteConfigParts{settings, store, SiteBaseURL, m_http_cli2, m_main_loop, m_proxy,
                                 status, std::move(CloseAllowed)}) {}

}  // namespace tovali
