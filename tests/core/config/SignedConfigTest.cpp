// The configuration download when the administrator demands signed
// documents, or when a file of the administrator cannot be used: over real
// sockets against local test servers, with signatures made by minisign.

#include <gtest/gtest.h>

#include "HttpTestClient.h"
#include "MinisignTool.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "config/DownloadTrust.h"
#include "config/RemoteConfig.h"
#include "config/StatusReporter.h"
#include "crypto/SodiumPrimitives.h"
#include "gio/GioProxySource.h"
#include "gio/GioSocket.h"
#include "gio/GlibMainLoop.h"
#include "net/HttpCli.h"

namespace tovali {
namespace {

using testing::http_response;
using testing::MinisignStyle;
using testing::Reply;
using testing::ScriptedServer;
using testing::TempDir;

const std::string kConfigPath = "/tovali/v200/group1/teconfig.dat";
const std::string kSignaturePath = kConfigPath + ".minisig";

class RecordingStatus : public StatusReporter {
 public:
  void set_status_text(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class NoProxy : public ProxySource {
 public:
  std::vector<std::string> proxies_for(const std::string&) override { return {"direct://"}; }
};

Reply ok(const std::string& body) {
  return Reply{http_response("HTTP/1.0 200 OK", {}, body)};
}

// A download of the sites in `bases` under `trust`.
struct SignedRig {
  SignedRig(const std::vector<std::string>& bases, const DownloadTrust& trust)
      : store(dir.path() + "cfg/"),
        cli(socket, loop),
        remote(RemoteConfigParts{settings, store, SiteBaseURL, cli, loop, proxy, status,
                                 [] { return false; }, &trust}) {
    testing::init_gio();
    settings.set_value("num-sites", std::to_string(bases.size()));
    for (std::size_t i = 0; i < bases.size(); ++i) {
      settings.set_value("site-" + std::to_string(i), bases[i]);
    }
  }

  TempDir dir;
  ConfigStore store;
  Settings settings;
  std::string SiteBaseURL;
  GlibMainLoop loop;
  GioSocket socket;
  HttpCli cli;
  NoProxy proxy;
  RecordingStatus status;
  RemoteConfig remote;
};

struct SignedDownload : ::testing::Test {
  void SetUp() override {
    std::string problem;
    ASSERT_TRUE(testing::minisign_make_key(keys.path() + "a.pub", keys.path() + "a.sec", problem))
        << problem;
    ASSERT_TRUE(testing::minisign_make_key(keys.path() + "b.pub", keys.path() + "b.sec", problem))
        << problem;
    auto key = parse_minisign_public_key(keys.read("a.pub"));
    ASSERT_TRUE(key.value) << key.problem;
    trust = DownloadTrust::requiring_signature(*key.value, crypto);
  }

  std::string signature(const std::string& document, const char* key,
                        MinisignStyle style = MinisignStyle::Prehashed) {
    keys.write("doc", document);
    std::string problem;
    EXPECT_TRUE(testing::minisign_sign(keys.path() + key + ".sec", keys.path() + "doc", style,
                                       "teconfig.dat", problem))
        << problem;
    return keys.read("doc.minisig");
  }

  TempDir keys;
  SodiumPrimitives crypto;
  DownloadTrust trust;
};

TEST_F(SignedDownload, ASignedDocumentIsApplied) {
  for (MinisignStyle style : {MinisignStyle::Prehashed, MinisignStyle::Legacy}) {
    const std::string document = "a=1\r\nnum-sites=1\r\n";
    ScriptedServer server;
    server.on(kConfigPath, ok(document));
    server.on(kSignaturePath, ok(signature(document, "a", style)));
    SignedRig rig({server.base()}, trust);

    const RemoteConfigResult result = rig.remote.GetRemoteConfig();

    EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
    EXPECT_TRUE(result.refusals.empty());
    EXPECT_EQ(rig.settings.value("a"), "1");
    EXPECT_EQ(rig.remote.HttpDoc(), document);
    EXPECT_EQ(server.targets(), (std::vector<std::string>{kConfigPath, kSignaturePath}));
    EXPECT_EQ(rig.status.texts,
              (std::vector<std::string>{RemoteConfig::kPrimaryText, RemoteConfig::kGotText}));
  }
}

TEST_F(SignedDownload, WithoutAValidSignatureTheSiteFailsAndTheNextIsTried) {
  const std::string evil = "evil=1\r\npassword=x\r\n";
  struct Case {
    const char* name;
    std::string document;
    Reply signature;  // "" bytes: the server's default (404)
    const char* refusal;
  };
  const Case cases[] = {
      {"no signature", evil, Reply{""}, "no signature at "},
      {"a changed document", evil, ok(signature("evil=0\r\n", "a")),
       "the signature does not match the document"},
      {"another key", evil, ok(signature(evil, "b")), "signed with key "},
      {"a malformed signature", evil, ok("untrusted comment: x\n"), "not a minisign signature"},
      {"an empty signature", evil, ok(""), "not a minisign signature"},
      {"a signature over the size limit", evil,
       ok(signature(evil, "a") + std::string(RemoteConfig::kMaxHttpDocBytes, '\n')),
       "no signature at "},
  };
  const std::string good = "a=2\r\n";
  for (const Case& c : cases) {
    ScriptedServer first;
    ScriptedServer second;
    first.on(kConfigPath, ok(c.document));
    if (!c.signature.bytes.empty()) first.on(kSignaturePath, c.signature);
    second.on(kConfigPath, ok(good));
    second.on(kSignaturePath, ok(signature(good, "a")));
    SignedRig rig({first.base(), second.base()}, trust);

    const RemoteConfigResult result = rig.remote.GetRemoteConfig();

    EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied) << c.name;
    EXPECT_EQ(result.site, 1) << c.name;
    EXPECT_FALSE(rig.settings.has("evil")) << c.name;
    EXPECT_EQ(rig.settings.value("a"), "2") << c.name;
    ASSERT_EQ(result.refusals.size(), 1u) << c.name;
    const std::string prefix = "site-0 (" + first.base() + "): " + c.refusal;
    EXPECT_EQ(result.refusals[0].substr(0, prefix.size()), prefix)
        << c.name << ": " << result.refusals[0];
    EXPECT_EQ(first.targets(), (std::vector<std::string>{kConfigPath, kSignaturePath})) << c.name;
  }
}

TEST_F(SignedDownload, WhenNoSiteIsSignedNothingIsAppliedOrSaved) {
  ScriptedServer server;
  server.on(kConfigPath, ok("evil=1\r\n"));
  SignedRig rig({server.base()}, trust);
  const RemoteConfigResult result = rig.remote.GetRemoteConfig();
  EXPECT_EQ(result.outcome, RemoteConfigOutcome::NoSiteAnswered);
  EXPECT_FALSE(rig.settings.has("evil"));
  EXPECT_EQ(rig.remote.HttpDoc(), "");
  EXPECT_EQ(rig.store.first_usable_copy(), -1);
  // The unsigned body ended, but it was never got.
  EXPECT_EQ(rig.status.texts,
            (std::vector<std::string>{RemoteConfig::kPrimaryText, RemoteConfig::kFailedText}));
}

TEST(RefusingTrust, EverySiteFailsWithoutARequest) {
  ScriptedServer server;
  server.on(kConfigPath, ok("evil=1\r\n"));
  const DownloadTrust trust = DownloadTrust::refusing("cannot read /etc/x/ca.pem");
  SignedRig rig({server.base(), server.base()}, trust);

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::NoSiteAnswered);
  EXPECT_EQ(result.refusals, (std::vector<std::string>{
                                 "site-0 (" + server.base() + "): cannot read /etc/x/ca.pem",
                                 "site-1 (" + server.base() + "): cannot read /etc/x/ca.pem"}));
  EXPECT_EQ(rig.status.texts,
            (std::vector<std::string>{RemoteConfig::kPrimaryText, RemoteConfig::kSecondaryText,
                                      RemoteConfig::kFailedText}));
  EXPECT_FALSE(rig.settings.has("evil"));
  EXPECT_EQ(rig.store.first_usable_copy(), -1);
  EXPECT_EQ(server.connections(), 0u);
}

}  // namespace
}  // namespace tovali
