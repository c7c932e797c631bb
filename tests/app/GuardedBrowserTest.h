#pragma once

// Shared fixture of the tests of the real program: a home site on the test
// server, the program started against it, and the screen places of the
// main window's controls.
#include <string>
#include <vector>

#include "AppTest.h"
#include "SitePages.h"

namespace tovali::testing {

class GuardedBrowserTest : public ExplorerTest {
 protected:
  static constexpr const char* kSitePath = "tovali/v200/group1/";
  static constexpr const char* kMainWindow = "^Tovali Explorer$";
  static constexpr const char* kPopupWindow = "^Click Close To Get To Main Screen$";

  // Screen places (the window covers the 1280 by 800 screen).
  static constexpr int kMainFrameX = 1000;  // away from the message panel
  static constexpr int kMainFrameY = 640;
  static constexpr int kBackX = 103;
  static constexpr int kButtonY = 18;

  // "http://HOST:PORT" + path.
  std::string url(const std::string& path, const std::string& host = "127.0.0.1") {
    return server().url_for(path, host);
  }
  // The domain the link rules compare for a host of the server (one label
  // below "localhost").
  std::string domain(const std::string& host) {
    return host + ":" + std::to_string(server().port());
  }
  // A menu link: "HTTP" + number + "://HOST:PORT" + path.
  std::string menu_link(const std::string& number, const std::string& path,
                        const std::string& host) {
    return "HTTP" + number + "://" + host + ":" + std::to_string(server().port()) + path;
  }

  // Writes the configuration file and the menu page, points the program at
  // the server, starts it and waits until the menu page has been requested
  // and read (the status line's dot is green); then writes kMenuReadMarker
  // into the site, which lets click_script click.
  void start_with_menu(const std::string& menu_html, const std::string& config = "");

  // Starts the program with a menu of two links of number 001, which admits
  // zoo.localhost: "shop" (to shop.localhost, refused) is clicked first,
  // then "zoo" (admitted), so that once /kids/zoo.html is asked for the
  // refusal has happened. Returns the refused address.
  std::string start_with_refused_then_admitted_click();

  // Sends SIGTERM; true when the program then exited with status 0.
  ::testing::AssertionResult terminates_cleanly();

  // Starts the program with a menu whose one link (number 001, admitting the
  // domain of leak.localhost) opens `path` in the main frame by itself, the
  // page holding `body`; waits until the main frame has asked for it.
  void open_in_main_frame(const std::string& path, const std::string& body,
                          const std::string& menu_extra = "");

  // A page of the test sites.
  void write_page(const std::string& path, const std::string& title, const std::string& body) {
    write_site_file(path.substr(1), html_page(title, body));
  }

  // Waits for a request whose target (path and query) is `marker`, one the
  // page or the test causes after the action under test; true when it came
  // and `path` (query ignored) had not been requested by then.
  ::testing::AssertionResult never_requested(const std::string& path, const std::string& marker);
  // Clicks the Home button and waits until the menu page is asked for once
  // more: by then the program has handled every input that came before the
  // click (its window system events are handled in order).
  bool home_round_trip();
  // How a page's report reaches the server: a hidden frame of a page in the
  // main frame navigates, or the menu page clicks a link (number 001 to
  // leak.localhost, as the menu of `open_in_main_frame` admits) that opens
  // the report in the main frame.
  enum class ReportThrough { HiddenFrame, MenuLink };
  // A script function `report(what)`: each call asks for
  // "/kids/seen?N-what" (N counting the calls from 1) through a navigation,
  // which the program decides after everything the page asked of it before
  // the call. "/kids/seen" is a page of the colour `style`.
  std::string report_script(ReportThrough through, const std::string& style = "");
  // Waits until a report "N-what" (any N) has reached the server.
  bool wait_for_report(const std::string& what);

  // The text of a file the program wrote into its state folder ("" when
  // missing).
  std::string state_file(const std::string& name) const;

  // Ids of all mapped windows.
  std::vector<std::string> mapped_windows();

  // Waits until the main window has been painted (the tools picture at the
  // end of its status line is drawn): from then on it takes clicks.
  bool wait_until_painted();

  // Waits until the status line's dot is green: the program has read the
  // menu page (its link rules are in force).
  bool wait_for_menu_read();

  // Waits until the main frame shows `colour` at (kMainFrameX, kMainFrameY).
  bool main_frame_shows(Rgb colour);

  // Waits until two screenshots a moment apart are the same (nothing is
  // being drawn), for a screenshot that is looked at by eye.
  bool wait_until_screen_settles();
};

}  // namespace tovali::testing
