#pragma once

namespace Glib {
class Error;
}

namespace tovali {

// The platform error number (errno) behind a GIO error; EIO when GIO does not
// say. A TLS connection closed without its proper end counts as reset.
int errno_from_gio_error(const Glib::Error& error);

// Called only inside a catch block: the errno for the exception being
// handled, a GIO error's as above, EIO for any other.
int errno_from_current_exception() noexcept;

}  // namespace tovali
