#pragma once

#include <cstddef>
#include <string>

namespace tovali {

// How a read of a user-writable file ended.
enum class FileReadOutcome {
  Read,        // the whole file is in `text`
  Missing,     // no file at the path
  NotRegular,  // a folder, FIFO, socket or device (after symbolic links)
  TooLarge,    // more than the bound; `text` holds the first bound + 1 bytes
  Failed,      // it could not be opened or read
};

struct RegularFileRead {
  FileReadOutcome outcome = FileReadOutcome::Failed;
  std::string text;
  // Why it was not read, for a message: the system's error text, "not a
  // regular file" or "larger than N bytes"; empty when read.
  std::string problem;
};

// Reads the regular file at `path` whole when it holds at most `max_bytes`
// bytes. It is opened without blocking and checked with fstat before a byte
// is read, so a FIFO without a writer, /dev/zero or a terminal in its place
// (directly or through a symbolic link) returns NotRegular at once instead of
// holding the caller or filling memory; a file that grows while it is read
// stops at max_bytes + 1 bytes. Never throws for a bad file; cost linear in
// the bytes read.
RegularFileRead read_regular_file(const std::string& path, std::size_t max_bytes);

}  // namespace tovali
