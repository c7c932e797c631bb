#pragma once

#include <cstddef>
#include <string>

#include "base/TextList.h"

namespace tovali {

// The scrambled line format of the settings copies. A first line carries the
// count of non-empty lines (hex of the hex digits, then random filler); every
// non-empty line is a random key byte followed by its characters mixed with
// that key, all in upper-case hexadecimal; lines end with CR LF.

// The count header has four hexadecimal digits: a file can count at most
// this many non-empty lines.
constexpr std::size_t kMaxCountedLines = 0xFFFF;

// A settings copy larger than this is not read (it counts as unreadable). A
// copy the program writes stays far below it: a downloaded configuration is
// at most 4 MiB, and each byte of a line is written as two hex digits.
constexpr std::size_t kMaxSettingsCopyBytes = 64 * 1024 * 1024;

// The number of non-empty lines in `lines`, the number the count header holds.
std::size_t counted_lines(const TextList& lines);

// Why `lines` cannot be written as a file that passes its own check, or ""
// when it can (no more than kMaxCountedLines non-empty lines).
std::string why_not_encodable(const TextList& lines);

// The file's text for `lines` (empty list: empty text). Random keys and
// filler differ at every call. Throws std::length_error when `lines` holds
// more non-empty lines than a file can count.
std::string encode_text(const TextList& lines);

// Encodes `lines` and replaces `file_name` with the result, through a
// temporary file in the same folder renamed over the old one, so the old copy
// stays whole when writing fails. Writes nothing and fails when `lines` holds
// more non-empty lines than a file can count. Returns false with `error` set
// on failure. Never throws.
bool EncodeAndSave(const std::string& file_name, const TextList& lines,
                   std::string* error = nullptr);

// Reads and checks `file_name`. On success `lines` holds the encoded lines
// without the count header (an empty file is valid and empty). Fails when the
// file cannot be read, is not a regular file (a FIFO or a device fails at
// once) or holds more than kMaxSettingsCopyBytes, when the count header is shorter than eight
// characters or not hexadecimal, when a line holds a non-hex character, or when the count of
// non-empty lines differs from the header; `lines` is then left as it was. Never throws.
bool LoadEncodedFile(const std::string& file_name, TextList& lines);

// Decodes the encoded lines into `target`, which is cleared first. Lines
// shorter than four characters are skipped; a last unpaired digit is ignored.
// Non-hex digits (which LoadEncodedFile rejects) decode as zero.
void DecodeAndLoad(const TextList& encoded, TextList& target);

}  // namespace tovali
