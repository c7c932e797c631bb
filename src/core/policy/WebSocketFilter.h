#pragma once

#include <string>

#include "policy/PageLoadRules.h"

namespace tovali {

// The engine opens WebSocket connections without asking the page guard's
// `send-request`. The guard asks the judge from each window's WebSocket
// constructor; beneath that, and for workers, a content filter the engine
// compiles (the JSON rule list of its content blockers) blocks a ws: or wss:
// URL whose host is in a domain the parent prohibits (the same registrable
// domains as for navigations, a written port included). "" when there is
// nothing to block. Domain entries with characters a host cannot hold are
// left out. Linear in the size of the lists.
std::string websocket_filter_json(const PageLoadRules& rules);

}  // namespace tovali
