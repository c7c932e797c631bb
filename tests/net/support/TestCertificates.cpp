#include "TestCertificates.h"

#include <vector>

#include "RunCommand.h"

namespace tovali::testing {

namespace {

const std::vector<std::string> kNewKey = {"-newkey", "ec", "-pkeyopt",
                                          "ec_paramgen_curve:prime256v1", "-nodes"};

bool openssl(std::vector<std::string> args, std::string& problem) {
  args.insert(args.begin(), "/usr/bin/openssl");
  const CommandResult r = run_command(args);
  if (r.exit_status == 0) return true;
  problem = "openssl " + args[1] + " failed: " + r.err;
  return false;
}

// A server certificate for `host`, issued by the authority, or by itself
// when `authority` is empty.
bool server_certificate(const std::string& dir, const std::string& name, const std::string& host,
                        const TestCertificates* authority, std::string& cert, std::string& key,
                        std::string& problem) {
  cert = dir + name + ".pem";
  key = dir + name + ".key";
  std::vector<std::string> args = {"req", "-x509"};
  if (authority) {
    args.insert(args.end(), {"-CA", authority->authority, "-CAkey", dir + "authority.key"});
  }
  args.insert(args.end(), kNewKey.begin(), kNewKey.end());
  args.insert(args.end(),
              {"-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=" + host, "-addext",
               "subjectAltName=DNS:" + host, "-addext", "basicConstraints=critical,CA:FALSE"});
  return openssl(args, problem);
}

}  // namespace

bool make_test_certificates(const std::string& dir, TestCertificates& out, std::string& problem) {
  out.authority = dir + "authority.pem";
  std::vector<std::string> args = {"req", "-x509"};
  args.insert(args.end(), kNewKey.begin(), kNewKey.end());
  args.insert(args.end(), {"-keyout", dir + "authority.key", "-out", out.authority, "-days", "2",
                           "-subj", "/CN=Tovali Test Authority"});
  return openssl(args, problem) &&
         server_certificate(dir, "localhost", "localhost", &out, out.localhost, out.localhost_key,
                            problem) &&
         server_certificate(dir, "other-host", "other.example", &out, out.other_host,
                            out.other_host_key, problem) &&
         server_certificate(dir, "self-signed", "localhost", nullptr, out.self_signed,
                            out.self_signed_key, problem);
}

}  // namespace tovali::testing
