#pragma once

#include <string>
#include <string_view>

namespace tovali {

// Replaces `path` with `content` through a temporary file in the same folder
// that is flushed and renamed over the old file, so readers see either the
// old or the new file, never a part of one. Creates missing parent folders.
// Returns false with a readable reason in `error` when any step fails; the
// temporary file is removed then. Never throws.
bool write_file_atomically(const std::string& path, std::string_view content,
                           std::string* error = nullptr);

// Creates `dir` and its missing parents. Returns false with `error` set when
// that fails.
bool make_directories(const std::string& dir, std::string* error = nullptr);

}  // namespace tovali
