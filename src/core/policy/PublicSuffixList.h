#pragma once

#include <cstddef>
#include <string_view>

namespace tovali {

// The Public Suffix List as the domain rules consult it: where, in a host
// name, the registrable domain (the part a person or company registered,
// "bbc.co.uk" of "www.bbc.co.uk") begins.
class PublicSuffixList {
 public:
  virtual ~PublicSuffixList() = default;

  // The offset in `host` at which its registrable domain begins: the public
  // suffix and one label before it. `host` is a name of two or more
  // non-empty dot-separated labels in any letter case, without user name or
  // port. Returns std::string_view::npos when `host` is itself a public
  // suffix ("co.uk", "github.io") or cannot be a host name. Safe to call from
  // any thread.
  virtual std::size_t registrable_domain_start(std::string_view host) const = 0;
};

// The list that ExtractDomain and every domain rule consult. Until a program
// installs one, the list's default rule alone: the last label of every host
// is its public suffix, so the domain is the host's last two labels.
const PublicSuffixList& public_suffix_list();

// Makes `list` the one that public_suffix_list() returns, for the rest of the
// process; `list` must live as long. Each program calls it once at start,
// before any rule is judged.
void install_public_suffix_list(const PublicSuffixList& list);

}  // namespace tovali
