// The menu-page scanner on arbitrary text, against the step-by-step
// reference version of the tests.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ReferencePolicy.h"
#include "policy/MetaDataScanner.h"

using namespace tovali;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const MetaDataScan fast = scan_meta_data(text);
  const testing::ReferenceScan slow = testing::reference_scan(text);
  if (fast.lists != slow.lists || fast.width != slow.width) {
    std::fprintf(stderr, "the scanner and the reference disagree\n");
    std::abort();
  }
  return 0;
}
