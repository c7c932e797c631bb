#pragma once

#include <string>
#include <vector>

#include "BuildConfig.h"

namespace tovali::testing {

// The lines every stored copy of the settings has held since the first
// release, in their order, written out by hand: tests compare the program's
// defaults with them and start from them as a fresh installation would.
inline std::vector<std::string> factory_lines() {
  return {
      "password=marigold",
      "req_pw_close=0",
      "req_pw_config=0",
      "enable_email_button=0",
      std::string("email_url=") + build::kEmailUrl,
      "allow_new_window=1",
      "prevent_switch=1",
      "disable_ctrl_alt_del=1",
      "show_close_main=0",
      "download_config=1",
      "hide_navframe=0",
      "load_main_default=1",
      "silent_mode=0",
      "use_global_meta_data=1",
      "enable_print_button=1",
      "default_home_location=1",
      "num_prohibited_file_exts=2",
      "pext-0=exe",
      "pext-1=zip",
  };
}

}  // namespace tovali::testing
