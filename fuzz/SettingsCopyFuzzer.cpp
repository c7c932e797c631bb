// The settings copy decoder on arbitrary file contents, and the round trip of
// arbitrary settings lines through a written copy.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzInput.h"
#include "base/TextList.h"
#include "settings/ScrambledFile.h"
#include "settings/Settings.h"

using namespace tovali;

namespace {

void write_scratch(std::string_view bytes) {
  std::ofstream out(fuzz::scratch_file(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fuzz::require(out.good(), "the scratch file is written");
}

// Whatever the file holds: the check either refuses it or gives lines that
// decode; the decoded settings answer every question.
void decode_any(std::string_view bytes) {
  write_scratch(bytes);
  TextList encoded{"untouched"};
  if (!LoadEncodedFile(fuzz::scratch_file(), encoded)) {
    fuzz::require(encoded == TextList{"untouched"}, "a refused copy leaves the lines alone");
    return;
  }
  TextList decoded;
  DecodeAndLoad(encoded, decoded);
  const Settings settings(decoded);
  for (const auto& line : decoded) {
    const std::string key = line.substr(0, line.find('='));
    (void)settings.value(key);
    (void)settings.is_on(key);
    (void)settings.count(key);
  }
}

// Lines without line breaks come back from a written copy as they were, the
// empty ones left out.
void round_trip(std::string_view text) {
  const TextList lines = split_lines(text);
  if (!why_not_encodable(lines).empty()) return;
  write_scratch(encode_text(lines));
  TextList encoded;
  fuzz::require(LoadEncodedFile(fuzz::scratch_file(), encoded), "a written copy passes its check");
  TextList decoded;
  DecodeAndLoad(encoded, decoded);
  TextList expected;
  for (const auto& line : lines) {
    if (!line.empty()) expected.push_back(line);
  }
  fuzz::require(decoded == expected, "a written copy decodes to the lines written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decode_any(bytes);
  round_trip(bytes);
  return 0;
}
