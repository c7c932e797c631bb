#pragma once

#include <memory>
#include <string>

// The engine's own type names, declared as its headers declare them.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitWebContext WebKitWebContext;
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitSettings WebKitSettings;

namespace tovali {

class TlsTrust;

// The engine state every view shares: one web context (website data kept
// under the user's XDG data and cache folders, downloads refused) and one
// set of view settings (software rendering, no developer tools).
// Created on first use, on the user-interface thread, after GTK is up.
class WebEngine {
 public:
  static WebEngine& instance();

  WebKitWebContext* context() const { return m_context; }
  WebKitSettings* view_settings() const { return m_settings; }

  // The authorities trusted beyond the system's store (see TlsTrust): a page
  // whose certificate only they vouch for is loaded again once its
  // certificate has been allowed for its host.
  const TlsTrust& tls_trust() const { return *m_tls_trust; }
  // Trusts the certificates of `pem_path` (the administrator's ca.pem) from
  // now on; false, with `problem` set, when the file cannot be used.
  bool trust_authorities_in(const std::string& pem_path, std::string& problem);

  // Loads the page guard from `dir` into every web process started from now
  // on (PageGuard). Call before the first view loads anything.
  void use_page_guard(const std::string& dir);

  // Folders of the website data, for the record.
  const std::string& data_dir() const { return m_data_dir; }
  const std::string& cache_dir() const { return m_cache_dir; }

 private:
  WebEngine();
  ~WebEngine() = delete;  // lives until the process ends

  WebKitWebContext* m_context = nullptr;
  WebKitSettings* m_settings = nullptr;
  std::string m_data_dir;
  std::string m_cache_dir;
  std::unique_ptr<TlsTrust> m_tls_trust;
};

}  // namespace tovali
