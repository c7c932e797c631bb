#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovali::fuzz {

// Reads a fuzzer's input piece by piece: lines first, the rest as one text.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : m_rest(reinterpret_cast<const char*>(data), size) {}

  // The text up to the next "\n" (not included), or all that is left.
  std::string_view next_line();
  // Everything not read yet.
  std::string_view rest() const { return m_rest; }

 private:
  std::string_view m_rest;
};

// Aborts with `what` on stderr when `holds` is false: the fuzzer then keeps
// the input that broke the contract.
void require(bool holds, const char* what);

// A file path of this process's own, for parts that read and write files.
const std::string& scratch_file();

}  // namespace tovali::fuzz
