#pragma once

#include <string>
#include <string_view>

namespace tovali {

// Replaces `path` with `content` through a temporary file in the same folder
// that is flushed and renamed over the old file, so readers see either the
// old or the new file, never a part of one; the folder is flushed after the
// rename so the new name survives a power cut. Creates missing parent folders.
// Returns false with a readable reason in `error` when any step fails; the
// temporary file is removed then. Never throws.
bool write_file_atomically(const std::string& path, std::string_view content,
                           std::string* error = nullptr);

// The first half of write_file_atomically: writes `content` to a new
// temporary file beside `path`, flushed to disk, creating missing parent
// folders. The temporary carries the writer's name: `path` + "." + the
// process id + "." + six letters or digits. Returns the temporary's
// path, or "" with `error` set (nothing is left behind then). Never throws.
std::string write_temporary_beside(const std::string& path, std::string_view content,
                                   std::string* error = nullptr);

// The second half: renames `temporary` over `path` and flushes the folder.
// On failure removes the temporary and returns false with `error` set.
// Never throws.
bool replace_with_temporary(const std::string& temporary, const std::string& path,
                            std::string* error = nullptr);

// Removes the temporaries that writes of `path` left behind when they were
// killed half-way: regular files in its folder named `path` + "." + six
// letters or digits, or `path` + "." + a process id + "." + six letters or
// digits where that process no longer runs (a running writer's temporary is
// left alone). Nothing else is touched; errors are ignored. Never throws.
void remove_leftover_temporaries(const std::string& path);

// Flushes the folder `dir` itself (its names) to disk. Returns false with
// `error` set when that fails. Never throws.
bool sync_folder(const std::string& dir, std::string* error = nullptr);

// Creates `dir` and its missing parents. Returns false with `error` set when
// that fails.
bool make_directories(const std::string& dir, std::string* error = nullptr);

}  // namespace tovali
