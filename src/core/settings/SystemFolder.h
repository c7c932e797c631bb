#pragma once

#include <string>

namespace tovali {

// The administrator's folder: $TOVALI_SYSTEM_DIR when set and not empty,
// else "/etc/tovali-explorer". Ends with "/".
std::string system_folder();

}  // namespace tovali
