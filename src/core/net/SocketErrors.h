#pragma once

#include <string>

namespace tovali {

// The client's socket error codes follow the classic WinSock numbering
// (10061 "Connection refused" ...), so that the failure texts read the same
// on every platform.

// Maps a platform error number (errno) onto its socket error code. 0 stays 0;
// a number with no socket counterpart is returned unchanged (and then has no
// description of its own).
int socket_error_code_from_errno(int error_number);

// The description of a socket error code, from the fixed table of 51 codes;
// "Not a WinSock error" for any other code.
std::string socket_error_description(int code);

}  // namespace tovali
