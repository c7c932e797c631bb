// Tovali Explorer: the program entry (ExplorerApplication).
#include <gdk/gdk.h>
#include <giomm/init.h>
#include <gtk/gtk.h>

#include "BuildConfig.h"
#include "app/ExplorerApplication.h"
#include "base/Translate.h"

int main(int argc, char** argv) {
  tovali::start_translations(tovali::locale_dir(tovali::build::kLocaleDir));
  // GTK keeps the locale set above, with numbers in the C form.
  gtk_disable_setlocale();
  gdk_set_allowed_backends("x11");
  Gio::init();
  auto app = tovali::ExplorerApplication::create(argc, argv);
  const int status = app->run();
  return status != 0 ? status : app->exit_status();
}
