#include "settings/SystemFolder.h"

#include <cstdlib>

namespace tovali {

std::string system_folder() {
  const char* named = std::getenv("TOVALI_SYSTEM_DIR");
  std::string folder = (named && *named) ? named : "/etc/tovali-explorer";
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace tovali
