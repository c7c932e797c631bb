#include "browser/WebEngine.h"

#include <webkit2/webkit2.h>

#include "browser/PageGuard.h"
#include "browser/TlsTrust.h"

namespace tovali {

namespace {

// A download never reaches the disk, whatever asked for it.
gboolean refuse_destination(WebKitDownload* download, gchar*, gpointer) {
  webkit_download_cancel(download);
  return TRUE;
}

void refuse_download(WebKitWebContext*, WebKitDownload* download, gpointer) {
  g_signal_connect(download, "decide-destination", G_CALLBACK(refuse_destination), nullptr);
  webkit_download_cancel(download);
}

std::string join(const char* base, const char* leaf) {
  gchar* path = g_build_filename(base, leaf, nullptr);
  std::string result(path);
  g_free(path);
  return result;
}

}  // namespace

WebEngine& WebEngine::instance() {
  static WebEngine* engine = new WebEngine();
  return *engine;
}

WebEngine::WebEngine()
    : m_data_dir(join(g_get_user_data_dir(), "tovali-explorer")),
      m_cache_dir(join(g_get_user_cache_dir(), "tovali-explorer")),
      m_tls_trust(std::make_unique<TlsTrust>()) {
  WebKitWebsiteDataManager* data =
      webkit_website_data_manager_new("base-data-directory", m_data_dir.c_str(),
                                      "base-cache-directory", m_cache_dir.c_str(), nullptr);
  m_context = webkit_web_context_new_with_website_data_manager(data);
  g_object_unref(data);
  webkit_web_context_set_cache_model(m_context, WEBKIT_CACHE_MODEL_WEB_BROWSER);
  g_signal_connect(m_context, "download-started", G_CALLBACK(refuse_download), nullptr);

  m_settings = webkit_settings_new();
  webkit_settings_set_hardware_acceleration_policy(m_settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  webkit_settings_set_enable_developer_extras(m_settings, FALSE);
  webkit_settings_set_auto_load_images(m_settings, TRUE);
  webkit_settings_set_enable_media(m_settings, TRUE);
  webkit_settings_set_enable_fullscreen(m_settings, FALSE);
  webkit_settings_set_enable_media_stream(m_settings, FALSE);
  webkit_settings_set_enable_webrtc(m_settings, FALSE);
  webkit_settings_set_enable_back_forward_navigation_gestures(m_settings, FALSE);
  webkit_settings_set_enable_write_console_messages_to_stdout(m_settings, FALSE);
  // Pages may ask for new windows; the new-window guard decides.
  webkit_settings_set_javascript_can_open_windows_automatically(m_settings, TRUE);
}

void WebEngine::use_page_guard(const std::string& dir) {
  PageGuard::instance().use_folder(m_context, dir, join(m_cache_dir.c_str(), "content-filters"));
}

bool WebEngine::trust_authorities_in(const std::string& pem_path, std::string& problem) {
  return m_tls_trust->load(pem_path, problem);
}

}  // namespace tovali
