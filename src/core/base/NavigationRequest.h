#pragma once

#include <string>
#include <string_view>

namespace tovali {

// What the browser does with one navigation.
enum class Verdict {
  Proceed,  // let the navigation go on
  Cancel,   // stop it before any request is made (WebKit: ignore the decision)
};

// Who started a navigation that the browser asks about, as the engine
// reports it.
enum class RequestOrigin {
  Page,       // the page: a script, a frame, a form, anything not below
  Program,    // the program's own navigate call (the navigation queue's request)
  History,    // a step back or forward in the view's history
  LinkClick,  // the child clicked (or pressed Enter on) a link of the page
};

// Whether the browser asks about a new navigation or about the target of an
// HTTP redirect of a navigation it has already let go on.
enum class NavigationKind {
  Request,   // a navigation the program or the page started
  Redirect,  // the server answered the admitted navigation with a redirect
};

// The program's browser views: where the navigation queue sends a URL, and
// which view asks about a navigation.
enum class BrowserTarget {
  MainFrame,     // the main frame
  PopupBrowser,  // the pop-up window's browser (`NewBrowser`)
  NavFrame,      // the navigation frame (`NavFrame`)
};

// One navigation a browser view asks about: built by the view when the
// engine asks, judged by a guard, answered with one Verdict.
struct NavigationRequest {
  std::string url;  // in the engine's own form ("my%20menu.html")
  RequestOrigin origin = RequestOrigin::Page;
  NavigationKind kind = NavigationKind::Request;
  BrowserTarget target = BrowserTarget::MainFrame;  // the view that asks
};

// True when the engine's `reported` URL names the `requested` one: equal
// apart from the letter case of a to z and one "/" at the end of either
// ("HTTP://A.example" and "http://a.example/" match). `requested` must
// already be in the engine's form. Linear in the lengths.
bool same_target(std::string_view reported, std::string_view requested);

}  // namespace tovali
