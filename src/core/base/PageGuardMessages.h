#pragma once

namespace tovali {

// The names of the messages between the program's views and the page guard
// in the engine's web processes.
//   kPageLoadRules: program to guard, a string (encode_page_load_rules): the
//     rules from now on; the guard replies with an empty message of the same
//     name. Also the reply to kPageLoadRulesWanted, and the initialization
//     data of every web process.
//   kPageLoadRulesWanted: guard to program, no parameters, when a page is
//     created: the guard of that page runs, and asks for the rules of now.
//   kPageLoadRefused: guard to program, a string: the URL of a load the
//     guard refused.
inline constexpr const char* kPageLoadRules = "tovali-page-load-rules";
inline constexpr const char* kPageLoadRulesWanted = "tovali-page-load-rules-wanted";
inline constexpr const char* kPageLoadRefused = "tovali-page-load-refused";

}  // namespace tovali
