#include "settings/ScrambledFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "base/AtomicFile.h"

namespace tovali {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void append_hex_byte(std::string& out, unsigned value) {
  out += kHex[(value >> 4) & 0xF];
  out += kHex[value & 0xF];
}

// Value of one hexadecimal digit, either case; -1 for anything else.
int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Two digits at `pos` as a byte; -1 when either is not a hex digit.
int hex_byte(const std::string& text, std::size_t pos) {
  const int hi = hex_digit(text[pos]);
  const int lo = hex_digit(text[pos + 1]);
  return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

bool all_hex(const std::string& text) {
  for (char c : text) {
    if (hex_digit(c) < 0) return false;
  }
  return true;
}

// The expected count from the first eight characters of the header, or -1.
long header_count(const std::string& header) {
  if (header.size() < 8) return -1;
  long count = 0;
  for (std::size_t i = 0; i < 8; i += 2) {
    const int code = hex_byte(header, i);
    if (code < 0) return -1;
    const int digit = hex_digit(static_cast<char>(code));
    if (digit < 0) return -1;
    count = count * 16 + digit;
  }
  return count;
}

}  // namespace

std::size_t counted_lines(const TextList& lines) {
  return static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [](const std::string& line) { return !line.empty(); }));
}

std::string why_not_encodable(const TextList& lines) {
  const std::size_t count = counted_lines(lines);
  if (count <= kMaxCountedLines) return {};
  return "the settings hold " + std::to_string(count) + " lines, more than the " +
         std::to_string(kMaxCountedLines) + " a settings copy can count";
}

std::string encode_text(const TextList& lines) {
  if (lines.empty()) return {};
  const std::string too_long = why_not_encodable(lines);
  if (!too_long.empty()) throw std::length_error(too_long);
  std::mt19937 random(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count() ^
      std::random_device{}()));
  std::uniform_int_distribution<unsigned> byte(0, 255);
  std::uniform_int_distribution<unsigned> filler_count(0, 9);
  std::uniform_int_distribution<unsigned> filler(0, 99);

  std::string out;
  char digits[5];
  std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(counted_lines(lines)));
  for (int i = 0; i < 4; ++i) append_hex_byte(out, static_cast<unsigned char>(digits[i]));
  for (unsigned r = filler_count(random); r > 0; --r) append_hex_byte(out, filler(random));
  out += "\r\n";

  for (const auto& line : lines) {
    if (!line.empty()) {
      const unsigned key = byte(random);
      append_hex_byte(out, key);
      for (unsigned char c : line) append_hex_byte(out, (255u - c - key) & 0xFFu);
    }
    out += "\r\n";
  }
  return out;
}

bool EncodeAndSave(const std::string& file_name, const TextList& lines, std::string* error) {
  try {
    const std::string too_long = why_not_encodable(lines);
    if (!too_long.empty()) {
      if (error) *error = too_long;
      return false;
    }
    return write_file_atomically(file_name, encode_text(lines), error);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool LoadEncodedFile(const std::string& file_name, TextList& lines) {
  try {
    TextList work;
    if (!read_text_lines(file_name, kMaxSettingsCopyBytes, work)) return false;
    if (work.empty()) {
      lines.clear();
      return true;
    }
    const long expected = header_count(work.front());
    if (expected < 0) return false;
    work.erase(work.begin());
    long non_empty = 0;
    for (const auto& line : work) {
      if (!all_hex(line)) return false;
      non_empty += line.empty() ? 0 : 1;
    }
    if (non_empty != expected) return false;
    lines = std::move(work);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void DecodeAndLoad(const TextList& encoded, TextList& target) {
  TextList decoded;
  for (const auto& line : encoded) {
    if (line.size() < 4) continue;
    const int key = std::max(hex_byte(line, 0), 0);
    const std::size_t m = line.size() / 2 - 1;
    std::string text;
    text.reserve(m);
    for (std::size_t j = 1; j <= m; ++j) {
      const int b = std::max(hex_byte(line, 2 * j), 0);
      text += static_cast<char>((255 - b - key) & 0xFF);
    }
    decoded.push_back(std::move(text));
  }
  target = std::move(decoded);
}

}  // namespace tovali
