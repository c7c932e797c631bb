#include "TestCertificates.h"

#include <fstream>
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

// A certificate for "localhost" from the authority that expired long ago
// (`openssl ca` is the tool that takes explicit dates).
bool expired_certificate(const std::string& dir, TestCertificates& out, std::string& problem) {
  out.expired = dir + "expired.pem";
  out.expired_key = dir + "expired.key";
  std::ofstream(dir + "ca.cnf") << "[ca]\ndefault_ca = test\n[test]\ndatabase = " << dir
                                << "index.txt\nnew_certs_dir = " << dir << "\nserial = " << dir
                                << "serial\ndefault_md = sha256\npolicy = any\n"
                                   "copy_extensions = copy\nunique_subject = no\n"
                                   "[any]\ncommonName = supplied\n";
  std::ofstream(dir + "index.txt").close();
  std::ofstream(dir + "serial") << "01\n";
  std::vector<std::string> request = {"req", "-new"};
  request.insert(request.end(), kNewKey.begin(), kNewKey.end());
  request.insert(request.end(), {"-keyout", out.expired_key, "-out", dir + "expired.csr", "-subj",
                                 "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"});
  return openssl(request, problem) &&
         openssl({"ca", "-batch", "-config", dir + "ca.cnf", "-cert", out.authority, "-keyfile",
                  dir + "authority.key", "-in", dir + "expired.csr", "-out", out.expired,
                  "-startdate", "20200101000000Z", "-enddate", "20200102000000Z", "-notext"},
                 problem);
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
                            out.self_signed_key, problem) &&
         expired_certificate(dir, out, problem);
}

}  // namespace tovali::testing
