#include "config/TrustFiles.h"

#include <utility>

#include "base/RegularFile.h"

namespace tovali {

namespace {

enum class FileRead { Missing, Read, Unreadable };

FileRead read_small_file(const std::string& path, std::string& content, std::string& problem) {
  RegularFileRead read = read_regular_file(path, TrustFiles::kMaxFileBytes);
  switch (read.outcome) {
    case FileReadOutcome::Read:
      content = std::move(read.text);
      return FileRead::Read;
    case FileReadOutcome::Missing:
      return FileRead::Missing;
    case FileReadOutcome::NotRegular:
      problem = "cannot read " + path + ": not a file";
      return FileRead::Unreadable;
    case FileReadOutcome::TooLarge:
      problem = path + " is too large";
      return FileRead::Unreadable;
    case FileReadOutcome::Failed:
      break;
  }
  problem = "cannot read " + path + ": " + read.problem;
  return FileRead::Unreadable;
}

}  // namespace

TrustFiles read_trust_files(const std::string& folder) {
  TrustFiles files;
  std::string content;
  const std::string ca_path = folder + TrustFiles::kCaFileName;
  switch (read_small_file(ca_path, content, files.problem)) {
    case FileRead::Missing:
      break;
    case FileRead::Unreadable:
      return files;
    case FileRead::Read:
      if (content.find("-----BEGIN CERTIFICATE-----") == std::string::npos) {
        files.problem = ca_path + " holds no certificate";
        return files;
      }
      files.ca_file = ca_path;
      break;
  }
  const std::string key_path = folder + TrustFiles::kConfigKeyName;
  content.clear();
  switch (read_small_file(key_path, content, files.problem)) {
    case FileRead::Missing:
      break;
    case FileRead::Unreadable:
      return files;
    case FileRead::Read: {
      auto key = parse_minisign_public_key(content);
      if (!key.value) {
        files.problem = key_path + ": " + key.problem;
        return files;
      }
      files.config_key = std::move(key.value);
      break;
    }
  }
  return files;
}

}  // namespace tovali
