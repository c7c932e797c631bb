#pragma once

namespace Glib {
class Error;
}

namespace tovali {

// The platform error number (errno) behind a GIO error; EIO when GIO does not
// say.
int errno_from_gio_error(const Glib::Error& error);

}  // namespace tovali
