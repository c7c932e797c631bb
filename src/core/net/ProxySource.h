#pragma once

#include <string>
#include <vector>

namespace tovali {

// The user's proxy setting, as the desktop reports it.
class ProxySource {
 public:
  virtual ~ProxySource() = default;
  // The proxies to use for `url`, best first, each as "direct://" (no
  // proxy) or "scheme://host[:port]". Empty when the setting cannot be read.
  virtual std::vector<std::string> proxies_for(const std::string& url) = 0;
};

}  // namespace tovali
