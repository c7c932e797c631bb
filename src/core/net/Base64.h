#pragma once

#include <string>
#include <string_view>

namespace tovali {

// Standard Base64 (RFC 2045 alphabet), "=" filling the last group.
std::string base64_encode(std::string_view bytes);

}  // namespace tovali
