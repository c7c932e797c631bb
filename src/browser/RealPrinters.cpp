#include "browser/RealPrinters.h"

#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>

namespace tovali {

namespace {

// GTK's print backends: "file" is the "Print to File" printer and "lpr" a
// printer that runs a command line typed into the dialog; only the print
// service's backend is loaded.
constexpr const char* kRealPrintBackends = "cups";

gboolean take_default(GtkPrinter* printer, gpointer data) {
  if (gtk_printer_is_virtual(printer) || !gtk_printer_is_default(printer)) return FALSE;
  *static_cast<std::optional<std::string>*>(data) = gtk_printer_get_name(printer);
  return TRUE;
}

}  // namespace

void RealPrinters::restrict() {
  GtkSettings* settings = gtk_settings_get_default();
  if (!settings) return;
  gchar* current = nullptr;
  g_object_get(settings, "gtk-print-backends", &current, nullptr);
  const bool done = current && g_strcmp0(current, kRealPrintBackends) == 0;
  g_free(current);
  if (!done) g_object_set(settings, "gtk-print-backends", kRealPrintBackends, nullptr);
}

std::optional<std::string> RealPrinters::default_printer() {
  restrict();
  std::optional<std::string> name;
  gtk_enumerate_printers(&take_default, &name, nullptr, TRUE);
  return name;
}

}  // namespace tovali
