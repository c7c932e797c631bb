// The real program in an installed tree (PREFIX/bin next to
// PREFIX/share/tovali-explorer): it shows the supplied pages of the shared
// folder and writes its files into the user's state folder, never beside the
// executable.
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "GuardedBrowserTest.h"
#include "Polling.h"

namespace tovali::testing {
namespace {

using ExplorerInstalledLayout = GuardedBrowserTest;

TEST_F(ExplorerInstalledLayout, PagesComeFromTheSharedFolderAndFilesGoToTheStateFolder) {
  const std::string prefix = temp().path() + "prefix/";
  const std::string bin = prefix + "bin/";
  std::string error;
  // The executable's folder also holds the supplied pages, as a build folder
  // does; the shared folder's start page must win.
  ASSERT_TRUE(ExplorerProcess::prepare_program_dir(bin, &error)) << error;
  temp().write("prefix/share/tovali-explorer/welcome.html",
               html_page("Installed", "<img src='" + url("/installed-start-page.png") + "'>"));
  write_site_file("installed-start-page.png", "");
  write_site_file(std::string(kSitePath) + "teconfig.dat", "program-version=200\r\n");
  write_site_file(std::string(kSitePath) + "teindex.php3", menu_page({}, {}));
  point_sites_at_server();

  auto program =
      ExplorerProcess::start(env(), display().name(), bin, temp().path() + "installed.out", &error);
  ASSERT_TRUE(program) << error;
  EXPECT_TRUE(server().wait_for_path("/installed-start-page.png", kStartTimeout))
      << "the start page of the shared folder was not shown\n"
      << server().log_text();
  ASSERT_TRUE(server().wait_for_path(std::string("/") + kSitePath + "teindex.php3", kStartTimeout));
  ASSERT_TRUE(program->signal_and_wait(SIGTERM));
  EXPECT_TRUE(std::filesystem::exists(state_dir() + "prohurl.log"));
  EXPECT_EQ(program->file("prohurl.log"), state_dir() + "prohurl.log");
  EXPECT_FALSE(std::filesystem::exists(bin + "prohurl.log"));
  EXPECT_FALSE(std::filesystem::exists(prefix + "share/tovali-explorer/prohurl.log"));
}

}  // namespace
}  // namespace tovali::testing
