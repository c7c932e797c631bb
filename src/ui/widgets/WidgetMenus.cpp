#include "ui/widgets/WidgetMenus.h"

#include <gtk/gtk.h>

namespace tovali {

namespace {

gboolean no_popup_menu(GtkWidget*) {
  return TRUE;  // handled: nothing is shown
}

void no_emoji_chooser(GtkWidget*) {}

}  // namespace

void block_widget_menus() {
  const GType with_menus[] = {GTK_TYPE_ENTRY, GTK_TYPE_TEXT_VIEW, GTK_TYPE_LABEL};
  for (GType type : with_menus) {
    // The class must exist before its handlers can be replaced; it is kept.
    g_type_class_ref(type);
    g_signal_override_class_handler("popup-menu", type, G_CALLBACK(no_popup_menu));
  }
  const GType with_emoji[] = {GTK_TYPE_ENTRY, GTK_TYPE_TEXT_VIEW};
  for (GType type : with_emoji)
    g_signal_override_class_handler("insert-emoji", type, G_CALLBACK(no_emoji_chooser));
}

}  // namespace tovali
