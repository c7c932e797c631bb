#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tovali {

// The client's fixed receive buffer: received bytes not yet consumed as
// header lines. It never holds more than kCapacity bytes, which bounds the
// length of a header line.
class ReceiveBuffer {
 public:
  static constexpr std::size_t kCapacity = 8192;

  // Room left for the next read.
  std::size_t free_space() const { return kCapacity - m_bytes.size(); }
  bool full() const { return m_bytes.size() >= kCapacity; }
  bool empty() const { return m_bytes.empty(); }

  // Appends received bytes; at most free_space() of them are taken. Returns
  // how many were taken.
  std::size_t append(std::string_view bytes);

  // Takes the text before the first line feed (dropping one carriage return
  // just before it) and removes it with its line end. Nothing when the buffer
  // holds no line feed.
  std::optional<std::string> take_line();

  // Takes every byte held.
  std::string take_all();

  void clear() { m_bytes.clear(); }

 private:
  std::string m_bytes;
};

}  // namespace tovali
