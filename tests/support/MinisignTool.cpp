#include "MinisignTool.h"

#include <vector>

#include "RunCommand.h"

namespace tovali::testing {

namespace {

bool minisign(const std::vector<std::string>& args, std::string& problem) {
  std::vector<std::string> argv = {"/usr/bin/minisign"};
  argv.insert(argv.end(), args.begin(), args.end());
  const CommandResult r = run_command(argv);
  if (r.exit_status == 0) return true;
  problem = "minisign " + args[0] + " failed (" + std::to_string(r.exit_status) + "): " + r.err;
  return false;
}

}  // namespace

bool minisign_make_key(const std::string& public_key, const std::string& secret_key,
                       std::string& problem) {
  return minisign({"-G", "-W", "-p", public_key, "-s", secret_key}, problem);
}

bool minisign_sign(const std::string& secret_key, const std::string& file, MinisignStyle style,
                   const std::string& trusted_comment, std::string& problem) {
  std::vector<std::string> args = {"-S", "-s", secret_key, "-m", file, "-t", trusted_comment};
  if (style == MinisignStyle::Legacy) args.push_back("-l");
  return minisign(args, problem);
}

}  // namespace tovali::testing
