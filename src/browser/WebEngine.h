#pragma once

#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitSettings WebKitSettings;

namespace tovali {

// The engine state every view shares: one web context (website data kept
// under the user's XDG data and cache folders, downloads refused) and one
// set of view settings (software rendering, no developer tools).
// Created on first use, on the user-interface thread, after GTK is up.
class WebEngine {
 public:
  static WebEngine& instance();

  WebKitWebContext* context() const { return m_context; }
  WebKitSettings* view_settings() const { return m_settings; }

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
};

}  // namespace tovali
