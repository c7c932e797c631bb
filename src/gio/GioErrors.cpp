#include "gio/GioErrors.h"

#include <cerrno>

#include <gio/gio.h>
#include <glibmm/error.h>

namespace tovali {

int errno_from_gio_error(const Glib::Error& error) {
  // A TLS peer that hangs up without ending TLS may have cut the answer short.
  if (error.domain() == G_TLS_ERROR && error.code() == G_TLS_ERROR_EOF) return ECONNRESET;
  if (error.domain() != G_IO_ERROR) return EIO;
  // clang-format off
  switch (error.code()) {
    case G_IO_ERROR_CONNECTION_REFUSED: return ECONNREFUSED;
    case G_IO_ERROR_TIMED_OUT: return ETIMEDOUT;
    case G_IO_ERROR_HOST_UNREACHABLE: return EHOSTUNREACH;
    case G_IO_ERROR_NETWORK_UNREACHABLE: return ENETUNREACH;
    case G_IO_ERROR_CONNECTION_CLOSED: return ECONNRESET;  // also a broken pipe
    case G_IO_ERROR_NOT_CONNECTED: return ENOTCONN;
    case G_IO_ERROR_ADDRESS_IN_USE: return EADDRINUSE;
    case G_IO_ERROR_PERMISSION_DENIED: return EACCES;
    case G_IO_ERROR_MESSAGE_TOO_LARGE: return EMSGSIZE;
    case G_IO_ERROR_NOT_SUPPORTED: return EOPNOTSUPP;
    case G_IO_ERROR_INVALID_ARGUMENT: return EINVAL;
    case G_IO_ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case G_IO_ERROR_WOULD_BLOCK: return EWOULDBLOCK;
    case G_IO_ERROR_NO_SPACE: return ENOBUFS;
    case G_IO_ERROR_CANCELLED: return EINTR;
    default: return EIO;
  }
  // clang-format on
}

int errno_from_current_exception() noexcept {
  try {
    throw;
  } catch (const Glib::Error& e) {
    return errno_from_gio_error(e);
  } catch (...) {
    return EIO;
  }
}

}  // namespace tovali
