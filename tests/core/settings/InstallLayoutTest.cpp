#include "settings/InstallLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace tovali {
namespace {

TEST(InstallLayout, SuppliedPagesComeFromTheSharedFolderWhenItExists) {
  const struct {
    const char* executable_dir;
    std::set<std::string> existing;
    const char* expected;
  } cases[] = {
      {"/usr/bin/", {"/usr/share/tovali-explorer/"}, "/usr/share/tovali-explorer/"},
      {"/opt/te/bin/", {"/opt/te/share/tovali-explorer/"}, "/opt/te/share/tovali-explorer/"},
      // A build folder: nothing installed beside it.
      {"/home/dev/te/build/", {}, "/home/dev/te/build/"},
      // Another program's shared folder does not count.
      {"/usr/local/bin/", {"/usr/share/tovali-explorer/"}, "/usr/local/bin/"},
      {"/bin/", {"/share/tovali-explorer/"}, "/share/tovali-explorer/"},
      {"/", {"/share/tovali-explorer/"}, "/share/tovali-explorer/"},
  };
  for (const auto& c : cases) {
    std::set<std::string> asked;
    const auto exists = [&](const std::string& dir) {
      asked.insert(dir);
      return c.existing.count(dir) > 0;
    };
    EXPECT_EQ(supplied_pages_dir(c.executable_dir, exists), c.expected) << c.executable_dir;
    EXPECT_EQ(asked.size(), 1u) << c.executable_dir;
  }
}

TEST(InstallLayout, TheStateFolderFollowsXdgStateHomeWhenItIsAbsolute) {
  const struct {
    const char* xdg_state_home;
    const char* home;
    const char* expected;
  } cases[] = {
      {"", "/home/kim", "/home/kim/.local/state/tovali-explorer/"},
      {"/var/kiosk/state", "/home/kim", "/var/kiosk/state/tovali-explorer/"},
      {"/var/kiosk/state/", "/home/kim", "/var/kiosk/state/tovali-explorer/"},
      {"relative/state", "/home/kim/", "/home/kim/.local/state/tovali-explorer/"},
      {"", "", "/tmp/.local/state/tovali-explorer/"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(state_dir_for(c.xdg_state_home, c.home), c.expected)
        << "XDG_STATE_HOME=" << c.xdg_state_home << " HOME=" << c.home;
}

}  // namespace
}  // namespace tovali
