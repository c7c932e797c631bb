// Times whole page loads in one web view, with or without the page guard in
// the engine's web process, for bench/page_loads.py:
//
//   page_load_timer GUARD_DIR|none URL RUNS
//
// Prints one line per run: the milliseconds from the load's start to its
// end (every image, script and style sheet of the page included). With a
// guard folder the guard runs with rules that admit everything the page
// loads (the parent prohibits other domains, `strict_page_loads` "1" with
// the page's own domain), so every load is judged and none refused.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "policy/LinkMetaData.h"
#include "policy/PageLoadRules.h"
#include "settings/Settings.h"

namespace {

struct Run {
  WebKitWebView* view = nullptr;
  std::string url;
  int left = 0;
  std::chrono::steady_clock::time_point started;
};

void load_next(Run& run) {
  run.started = std::chrono::steady_clock::now();
  // A fresh query each time, so that the page itself comes over the network.
  webkit_web_view_load_uri(run.view, (run.url + "?run=" + std::to_string(run.left)).c_str());
}

void load_changed(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
  auto& run = *static_cast<Run*>(data);
  if (event != WEBKIT_LOAD_FINISHED) return;
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - run.started);
  std::printf("%.2f\n", ms.count());
  std::fflush(stdout);
  if (--run.left > 0)
    load_next(run);
  else
    gtk_main_quit();
}

std::string rules_text() {
  tovali::Settings settings(tovali::TextList{"strict_page_loads=1", "num_cust_prohibited_domains=2",
                                             "cust_pd-0=ads.example", "cust_pd-1=tracker.example",
                                             "num_prohibited_file_exts=1", "pext-0=exe",
                                             "use_global_meta_data=0"});
  tovali::LinkMetaData meta(settings);
  meta.ExtractMetaData("<!--URL001:AD:cdn.example-->");
  meta.set_url_number("001");
  return tovali::encode_page_load_rules(tovali::page_load_rules(settings, meta, {}));
}

}  // namespace

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  gtk_init(&argc, &argv);
  if (argc != 4) {
    g_printerr("usage: page_load_timer GUARD_DIR|none URL RUNS\n");
    return 2;
  }
  // Nothing is kept between runs: every run loads from the server.
  WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
  WebKitWebContext* context = webkit_web_context_new_with_website_data_manager(data);
  webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  const std::string guard_dir = argv[1];
  const std::string rules = rules_text();
  if (guard_dir != "none") {
    webkit_web_context_set_web_extensions_directory(context, guard_dir.c_str());
    webkit_web_context_set_web_extensions_initialization_user_data(
        context, g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, rules.data(), rules.size(), 1));
  }
  WebKitSettings* settings = webkit_settings_new();
  webkit_settings_set_hardware_acceleration_policy(settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 1024, 768);
  GtkWidget* view = GTK_WIDGET(
      g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr));
  gtk_container_add(GTK_CONTAINER(window), view);
  gtk_widget_show_all(window);
  Run run{WEBKIT_WEB_VIEW(view), argv[2], std::atoi(argv[3]), {}};
  if (run.left <= 0) return 2;
  g_signal_connect(view, "load-changed", G_CALLBACK(load_changed), &run);
  load_next(run);
  gtk_main();
  return 0;
}
