#include "net/ReceiveBuffer.h"

namespace tovali {

std::size_t ReceiveBuffer::append(std::string_view bytes) {
  const std::size_t taken = bytes.size() < free_space() ? bytes.size() : free_space();
  m_bytes.append(bytes.data(), taken);
  return taken;
}

std::optional<std::string> ReceiveBuffer::take_line() {
  const auto lf = m_bytes.find('\n');
  if (lf == std::string::npos) return std::nullopt;
  std::size_t end = lf;
  if (end > 0 && m_bytes[end - 1] == '\r') --end;
  std::string line = m_bytes.substr(0, end);
  m_bytes.erase(0, lf + 1);
  return line;
}

std::string ReceiveBuffer::take_all() {
  std::string all;
  all.swap(m_bytes);
  return all;
}

}  // namespace tovali
