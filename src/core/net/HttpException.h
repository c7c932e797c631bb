#pragma once

#include <stdexcept>
#include <string>

namespace tovali {

// The HTTP client's error: a message and a code.
//   1 "HTTP component is busy"          a request started while one runs
//   2 "HTTP component has nothing to post"
//   4 "HTTP line too long"              a header line fills the receive buffer
//   5 a malformed response (status code or Content-Length not a number, a
//     NUL byte in the header, too many relocations)
class EHttpException : public std::runtime_error {
 public:
  static constexpr int kBusy = 1;
  static constexpr int kNothingToPost = 2;
  static constexpr int kLineTooLong = 4;
  static constexpr int kBadResponse = 5;

  EHttpException(const std::string& message, int error_code)
      : std::runtime_error(message), m_error_code(error_code) {}

  int ErrorCode() const { return m_error_code; }

 private:
  int m_error_code;
};

}  // namespace tovali
