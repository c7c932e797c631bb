// The baseline of the start-up benchmark: the least a program needs to show
// two web views side by side (a 145-pixel one on the left, the rest on the
// right), each loading one URL, with the same engine settings as Tovali
// Explorer (software rendering). No rules, no queue, no settings.
//
//   two_view_baseline LEFT_URL RIGHT_URL
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace {

GtkWidget* make_view(WebKitSettings* settings) {
  return GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, nullptr));
}

}  // namespace

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  gtk_init(&argc, &argv);
  if (argc != 3) {
    g_printerr("usage: two_view_baseline LEFT_URL RIGHT_URL\n");
    return 2;
  }
  WebKitSettings* settings = webkit_settings_new();
  webkit_settings_set_hardware_acceleration_policy(settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Two View Baseline");
  GdkRectangle area{0, 0, 1024, 768};
  GdkMonitor* monitor = gdk_display_get_primary_monitor(gdk_display_get_default());
  if (!monitor) monitor = gdk_display_get_monitor(gdk_display_get_default(), 0);
  if (monitor) gdk_monitor_get_geometry(monitor, &area);
  gtk_window_set_default_size(GTK_WINDOW(window), area.width, area.height);

  GtkWidget* paned = gtk_paned_new(GTK_ORIENTATION_HORIZONTAL);
  GtkWidget* left = make_view(settings);
  GtkWidget* right = make_view(settings);
  gtk_paned_pack1(GTK_PANED(paned), left, FALSE, FALSE);
  gtk_paned_pack2(GTK_PANED(paned), right, TRUE, FALSE);
  gtk_paned_set_position(GTK_PANED(paned), 145);
  gtk_container_add(GTK_CONTAINER(window), paned);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);

  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(right), argv[2]);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(left), argv[1]);
  gtk_main();
  return 0;
}
