#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "policy/PublicSuffixList.h"

struct psl_ctx_st;

namespace tovali {

// The whole Public Suffix List, its private section included
// ("github.io"), read by libpsl: the newer of the data file of the
// publicsuffix package (/usr/share/publicsuffix) and the list built into
// libpsl. Answers are remembered per host, since the list's look-up costs
// about a microsecond and a session visits few hosts many times.
class LibpslSuffixList : public PublicSuffixList {
 public:
  LibpslSuffixList();
  ~LibpslSuffixList() override;
  LibpslSuffixList(const LibpslSuffixList&) = delete;
  LibpslSuffixList& operator=(const LibpslSuffixList&) = delete;

  // Where the registrable domain of `host` begins; npos when `host` is a
  // public suffix itself or longer than a host name can be (253
  // characters). Thread-safe.
  std::size_t registrable_domain_start(std::string_view host) const override;

  // The process's one list, read at the first call, installed with
  // install_public_suffix_list. Each program calls it at start.
  static const LibpslSuffixList& install();

 private:
  std::size_t look_up(const std::string& lower_host) const;

  const psl_ctx_st* m_context;
  bool m_own_context;
  mutable std::mutex m_mutex;
  mutable std::string m_key;
  mutable std::unordered_map<std::string, std::size_t> m_answers;
};

}  // namespace tovali
