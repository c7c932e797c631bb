#pragma once

namespace Glib {
class Error;
}

namespace tovali {

// The platform error number (errno) behind a GIO error; EIO when GIO does not
// say. A TLS connection closed without its proper end counts as reset.
int errno_from_gio_error(const Glib::Error& error);

}  // namespace tovali
