#include "ExplorerProgram.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "HarnessPaths.h"
#include "RunCommand.h"

namespace tovali::testing {

namespace fs = std::filesystem;

namespace {

constexpr int kCommandTimeoutSeconds = 60;

std::string with_slash(const std::string& dir) {
  return dir.empty() || dir.back() == '/' ? dir : dir + "/";
}

}  // namespace

bool SettingsCommand::available() {
  return ::access(settings_tool_path().c_str(), X_OK) == 0;
}

bool SettingsCommand::set(const std::string& key, const std::string& value,
                          std::string* error) const {
  const auto r = run_command({settings_tool_path(), "set", key, value}, m_env.overrides(),
                             kCommandTimeoutSeconds);
  if (r.exit_status != 0 && error)
    *error = "tovali-settings set " + key + " failed: " + r.out + r.err;
  return r.exit_status == 0;
}

bool SettingsCommand::unset(const std::string& key, std::string* error) const {
  const auto r =
      run_command({settings_tool_path(), "unset", key}, m_env.overrides(), kCommandTimeoutSeconds);
  if (r.exit_status != 0 && error)
    *error = "tovali-settings unset " + key + " failed: " + r.out + r.err;
  return r.exit_status == 0;
}

std::optional<std::string> SettingsCommand::get(const std::string& key) const {
  const auto r =
      run_command({settings_tool_path(), "get", key}, m_env.overrides(), kCommandTimeoutSeconds);
  if (r.exit_status != 0) return std::nullopt;
  std::string value = r.out;
  if (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

std::string SettingsCommand::list() const {
  return run_command({settings_tool_path(), "list"}, m_env.overrides(), kCommandTimeoutSeconds).out;
}

std::string SettingsCommand::report() const {
  return run_command({settings_tool_path(), "report"}, m_env.overrides(), kCommandTimeoutSeconds)
      .out;
}

bool ExplorerProcess::available() {
  return ::access(explorer_path().c_str(), X_OK) == 0;
}

namespace {

// Places `from` at `to`: a hard link, or a copy when linking is not possible.
void link_or_copy(const fs::path& from, const fs::path& to, std::error_code& ec) {
  fs::create_hard_link(from, to, ec);
  if (!ec) return;
  ec.clear();
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

}  // namespace

bool ExplorerProcess::prepare_program_dir(const std::string& program_dir, std::string* error) {
  const std::string dir = with_slash(program_dir);
  const fs::path exe = dir + "tovali-explorer";
  std::error_code ec;
  if (fs::exists(exe, ec)) return true;
  fs::create_directories(dir, ec);
  fs::copy(data_dir(), dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) {
    if (error) *error = "cannot copy the supplied pages: " + ec.message();
    return false;
  }
  // A hard link is cheap; /proc/self/exe then names the link, so the program
  // takes this folder as its own.
  link_or_copy(explorer_path(), exe, ec);
  if (!ec) fs::permissions(exe, fs::perms::owner_all, fs::perm_options::add, ec);
  if (ec && error) *error = "cannot place the executable in " + dir + ": " + ec.message();
  if (ec) return false;
  // The page guard the engine loads, where the program looks for it beside
  // the executable of a build folder.
  const fs::path guard = fs::path(explorer_path()).parent_path() / "web-extensions";
  if (fs::exists(guard, ec)) {
    fs::create_directories(dir + "web-extensions", ec);
    for (const auto& entry : fs::directory_iterator(guard, ec)) {
      link_or_copy(entry.path(), fs::path(dir + "web-extensions") / entry.path().filename(), ec);
    }
  }
  if (ec && error) *error = "cannot place the page guard in " + dir + ": " + ec.message();
  return !ec;
}

std::unique_ptr<ExplorerProcess> ExplorerProcess::start(const TestEnvironment& env,
                                                        const std::string& display,
                                                        const std::string& program_dir,
                                                        const std::string& output_path,
                                                        std::string* error) {
  if (!available()) {
    if (error) *error = explorer_path() + " is not built";
    return nullptr;
  }
  const std::string dir = with_slash(program_dir);
  if (!prepare_program_dir(dir, error)) return nullptr;
  ProcessOptions options;
  options.argv = {dir + "tovali-explorer"};
  TestEnvironment program_env = env;
  program_env.set("DISPLAY", display);
  options.env = program_env.entries();
  options.output_path = output_path;
  auto process = ChildProcess::start(options, error);
  if (!process) return nullptr;
  return std::unique_ptr<ExplorerProcess>(
      new ExplorerProcess(std::move(process), dir, env.program_state_dir(), output_path));
}

std::string ExplorerProcess::output() const {
  std::ifstream in(m_output_path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ExplorerProcess::signal_and_wait(int signal, std::chrono::milliseconds timeout) {
  m_process->send_signal(signal);
  return m_process->wait_exit(timeout).has_value();
}

}  // namespace tovali::testing
