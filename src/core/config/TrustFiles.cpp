#include "config/TrustFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tovali {

namespace {

enum class FileRead { Missing, Read, Unreadable };

FileRead read_small_file(const std::string& path, std::string& content, std::string& problem) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return FileRead::Missing;
  if (error) {
    problem = "cannot read " + path + ": " + error.message();
    return FileRead::Unreadable;
  }
  if (status.type() != std::filesystem::file_type::regular) {
    problem = "cannot read " + path + ": not a file";
    return FileRead::Unreadable;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problem = "cannot read " + path;
    return FileRead::Unreadable;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    problem = "cannot read " + path;
    return FileRead::Unreadable;
  }
  if (content.size() > TrustFiles::kMaxFileBytes) {
    problem = path + " is too large";
    return FileRead::Unreadable;
  }
  return FileRead::Read;
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
