#pragma once

#include <functional>
#include <string>

#include "config/DownloadTrust.h"
#include "config/RemoteConfig.h"
#include "crypto/SodiumPrimitives.h"
#include "gio/GioProxySource.h"
#include "gio/GioSocket.h"
#include "gio/GlibMainLoop.h"
#include "net/HttpCli.h"
#include "settings/SystemFolder.h"

namespace tovali {

// The configuration download wired to GIO: owns the HTTP client, its socket, the
// main-loop glue and the desktop proxy lookup. Create it after Gio::init(),
// on the thread that runs the default GLib main context.
//
// The administrator's folder decides what the download trusts: ca.pem adds
// authorities for https:// sites, config-key.pub demands a signature of
// every document. A file there that cannot be used makes every site fail.
//
// How the main window uses it:
//   - creates one with its settings, its ConfigStore, its SiteBaseURL, itself
//     as the StatusReporter and a function that reads its CloseAllowed flag;
//   - when the connection check has finished, calls GetRemoteConfig() from
//     that handler (never re-entered); the call runs the main loop while it
//     waits, so timers, clicks and browser events go on meanwhile; once it
//     returns, the window enables its buttons and loads the home page;
//   - its close command sets CloseAllowed and calls http_client().Abort(), which
//     ends a running wait at once.
class ConfigDownload {
 public:
  ConfigDownload(Settings& settings, const ConfigStore& store, std::string& SiteBaseURL,
                 StatusReporter& status, std::function<bool()> CloseAllowed,
                 const std::string& system_dir = system_folder());

  // See RemoteConfig::GetRemoteConfig.
  RemoteConfigResult GetRemoteConfig() { return m_remote.GetRemoteConfig(); }

  HttpCli& http_client() { return m_http_client; }
  const DownloadTrust& trust() const { return m_trust; }
  RemoteConfig& remote_config() { return m_remote; }

 private:
  GlibMainLoop m_main_loop;
  GioSocket m_socket;
  GioProxySource m_proxy;
  SodiumPrimitives m_crypto;
  DownloadTrust m_trust;
  HttpCli m_http_client;
  RemoteConfig m_remote;
};

}  // namespace tovali
