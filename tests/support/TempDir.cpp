#include "TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tovali::testing {

TempDir::TempDir() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/tovali-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may have made folders read-only; give write access back first.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

void TempDir::write(const std::string& relative, const std::string& content) const {
  const std::filesystem::path p = m_path + relative;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string TempDir::read(const std::string& relative) const {
  std::ifstream in(m_path + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace tovali::testing
