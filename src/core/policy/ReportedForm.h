#pragma once

#include <string>
#include <string_view>

namespace tovali {

// The form in which the web engine reports a URL that the program asked it
// to load, so that a queued URL can be recognised when the engine asks about
// it. As the engine's URL parser does:
//  - bytes up to the space at either end are dropped, and tabs and line
//    breaks anywhere;
//  - the scheme is lower-cased;
//  - for "http", "https", "ws", "wss" and "ftp": the host is lower-cased, a
//    default port (":80", ":443", ":21") and an empty one are dropped, and a
//    bare host gets a "/";
//  - in the path, the query and the fragment, spaces, control bytes, bytes
//    of non-ASCII characters (their UTF-8) and the characters each part must
//    not hold as they are (", <, >, and ` { } in the path, ' in the query of
//    the schemes above) become "%XX" (upper-case hex); an existing "%XX" and
//    every other character stay.
// What it does not do: a host with non-ASCII letters (an IDN) stays as
// written, while the engine reports it punycoded ("xn--..."); "." and ".."
// path segments and backslashes stay. A text without a scheme is returned
// as it is. Idempotent; linear in the length.
std::string reported_form_of(std::string_view url);

}  // namespace tovali
