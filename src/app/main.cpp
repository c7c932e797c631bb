// Tovali Explorer: the program entry (ExplorerApplication).
#include <gdk/gdk.h>
#include <giomm/init.h>

#include "app/ExplorerApplication.h"

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  Gio::init();
  auto app = tovali::ExplorerApplication::create(argc, argv);
  const int status = app->run();
  return status != 0 ? status : app->exit_status();
}
