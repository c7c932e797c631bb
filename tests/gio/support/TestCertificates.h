#pragma once

#include <string>

namespace tovali::testing {

// A private certificate authority and server certificates, made with the
// openssl tool for the HTTPS tests. Every member is the path of a PEM file.
struct TestCertificates {
  std::string authority;                     // the authority's certificate: what ca.pem holds
  std::string localhost, localhost_key;      // "localhost", issued by the authority
  std::string other_host, other_host_key;    // "other.example", issued by the authority
  std::string self_signed, self_signed_key;  // "localhost", issued by itself
  std::string expired, expired_key;  // "localhost", issued by the authority, valid in 2020 only
};

// Makes the files in `dir` (ending in "/"). Returns false, with `problem`
// set, when openssl fails.
bool make_test_certificates(const std::string& dir, TestCertificates& out, std::string& problem);

}  // namespace tovali::testing
