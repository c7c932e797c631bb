// The configuration download: merging, the walk over the sites with its
// status texts, saving, closing during a wait, the time limit and the proxy,
// over real sockets against local test servers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "HttpTestClient.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "TestServer.h"
#include "config/RemoteConfig.h"
#include "config/StatusReporter.h"
#include "gio/GioProxySource.h"
#include "gio/GioSocket.h"
#include "gio/GlibMainLoop.h"
#include "net/HttpCli.h"
#include "settings/ScrambledFile.h"

namespace tovali {
namespace {

using testing::Ending;
using testing::http_response;
using testing::Reply;
using testing::ScriptedServer;

constexpr const char* kConfigPath = "/tovali/v200/group1/teconfig.dat";

TEST(MergeConfigDocument, LeavesTheAdministratorsLockedKeysAlone) {
  Settings settings({"password=mine", "site-0=http://user.test", "a=1"});
  settings.set_locked({"password=admin", "Site-0=http://school.test", "num-sites=1"});
  merge_config_document(settings, "PASSWORD=stranger\r\nsite-0=\r\nnum-sites=5\r\na=2\r\nb=3\r\n");
  // The other lines apply; the user's lines of the locked keys are untouched.
  EXPECT_EQ(settings.lines(), (TextList{"password=mine", "site-0=http://user.test", "a=2", "b=3"}));
  EXPECT_EQ(settings.value("password"), "admin");
  EXPECT_EQ(settings.value("site-0"), "http://school.test");
  EXPECT_EQ(settings.count("num-sites"), 1);
}

TEST(MergeConfigDocument, FollowsTheDocumentsFirstValuePerName) {
  struct Case {
    const char* name;
    TextList before;
    std::string document;
    TextList after;
  };
  const Case cases[] = {
      {"new names are appended, known ones replaced in place",
       {"a=1", "b=2"},
       "b=20\r\nc=3\r\n",
       {"a=1", "b=20", "c=3"}},
      {"key= deletes the key", {"a=1", "email_url=x", "b=2"}, "email_url=\r\n", {"a=1", "b=2"}},
      {"a name in capitals replaces the existing line",
       {"site-0=http://old", "num-sites=1"},
       "SITE-0=http://new\n",
       {"SITE-0=http://new", "num-sites=1"}},
      {"a duplicated name takes its first value", {}, "k=first\r\nK=second\r\n", {"k=first"}},
      {"lines without a name change nothing; CR, LF and CR LF all end lines",
       {"a=1"},
       "no equals sign\r=x\n\r\nb=2\rc=3",
       {"a=1", "b=2", "c=3"}},
      {"the document ends at a NUL byte",
       {"a=1"},
       std::string("b=2\r\nc=3\0\r\nd=4\r\n", 17),
       {"a=1", "b=2", "c=3"}},
      {"an empty document changes nothing", {"a=1"}, "", {"a=1"}},
      {"a bare name before the same name's line neither deletes nor shadows it",
       {"password=old", "allow_new_window=1", "b=2"},
       "password\r\nallow_new_window\r\npassword=new\r\n",
       {"password=new", "allow_new_window=1", "b=2"}},
      {"a bare name after the same name's line changes nothing",
       {"password=old", "allow_new_window=1", "b=2"},
       "password=new\r\nallow_new_window=0\r\npassword\r\nallow_new_window\r\n",
       {"password=new", "allow_new_window=0", "b=2"}},
      {"a line with an empty name changes nothing",
       {"password=old", "=kept"},
       "=x\r\n=\r\npassword=new\r\n=y\r\n",
       {"password=new", "=kept"}},
  };
  for (const Case& c : cases) {
    Settings settings{c.before};
    merge_config_document(settings, c.document);
    Settings expected{c.after};
    ASSERT_EQ(settings.lines().size(), c.after.size()) << c.name;
    for (std::size_t i = 0; i < c.after.size(); ++i) {
      EXPECT_TRUE(equals_ignore_case(settings.lines()[i], c.after[i]))
          << c.name << ": " << settings.lines()[i] << " vs " << c.after[i];
    }
  }
}

TEST(MergeConfigDocument, ANameWrittenTwiceTakesTheSpellingOfItsLastLine) {
  Settings settings({"Site-0=http://old", "a=1"});
  merge_config_document(settings, "SITE-0=http://new\r\nsite-0=http://ignored\r\n");
  EXPECT_EQ(settings.lines(), (TextList{"site-0=http://new", "a=1"}));
}

TEST(MergeConfigDocument, AValueItsKeyCannotHoldStillAppliesAndIsTold) {
  Settings settings({"prevent_switch=1"});
  settings.set_locked({"daily_minutes=30"});
  const std::string document =
      "prevent_switch=yes\r\n"  // a switch word: not "1", so the switch reads as off
      "daily_minutes=soon\r\n"  // locked: neither applied nor told
      "bedtime=late\r\n"
      "email_url=\r\n"  // deleting a key is no problem
      "site-0=config.test\r\n"
      "pext-0=bat\r\n"
      "school_motto=Learn!\r\n";  // the document's own names are not told
  EXPECT_EQ(config_value_warnings(settings, document),
            (std::vector<std::string>{
                "prevent_switch takes 1 or 0 (or yes/no, true/false, on/off)",
                "bedtime takes two different times HH:MM-HH:MM (24-hour), such as 20:30-07:00",
                "site-0 takes a web address beginning with http:// or https://"}));
  ASSERT_TRUE(merge_config_document(settings, document));
  EXPECT_EQ(settings.value("prevent_switch"), "yes");
  EXPECT_FALSE(settings.is_on("prevent_switch"));
  EXPECT_EQ(settings.value("bedtime"), "late");
  EXPECT_EQ(settings.value("daily_minutes"), "30");
  EXPECT_EQ(settings.value("school_motto"), "Learn!");
}

TEST(MergeConfigDocument, RefusesAMergeThatACopyCannotCount) {
  auto numbered = [](std::size_t from, std::size_t count, const std::string& value) {
    std::string document;
    for (std::size_t i = from; i < from + count; ++i) {
      document += "key" + std::to_string(i) + "=" + value + "\r\n";
    }
    return document;
  };
  TextList full;  // exactly as many lines as a copy can count
  for (std::size_t i = 0; i < kMaxCountedLines; ++i)
    full.push_back("key" + std::to_string(i) + "=1");
  struct Case {
    const char* name;
    TextList before;
    std::string document;
    bool applied;
    std::size_t lines_after;
  };
  const Case cases[] = {
      {"the factory settings and 70,000 new names", ConfigStore::default_lines(),
       numbered(0, 70000, "x"), false, 19},
      {"one line beyond the limit", full, "one=more\r\n", false, kMaxCountedLines},
      {"up to the limit", ConfigStore::default_lines(), numbered(0, kMaxCountedLines - 19, "x"),
       true, kMaxCountedLines},
      {"a full list that deletes as much as it adds", full, numbered(0, 1, "") + "one=more\r\n",
       true, kMaxCountedLines},
      {"replacing every line of a full list", full, numbered(0, kMaxCountedLines, "2"), true,
       kMaxCountedLines},
  };
  for (const Case& c : cases) {
    Settings settings{c.before};
    EXPECT_EQ(merge_config_document(settings, c.document), c.applied) << c.name;
    EXPECT_EQ(settings.lines().size(), c.lines_after) << c.name;
    if (!c.applied) {
      EXPECT_EQ(settings.lines(), c.before) << c.name;
    }
  }
}

class RecordingStatus : public StatusReporter {
 public:
  void set_status_text(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class FakeProxySource : public ProxySource {
 public:
  std::vector<std::string> proxies_for(const std::string& url) override {
    asked.push_back(url);
    return answer;
  }
  std::vector<std::string> answer{"direct://"};
  std::vector<std::string> asked;
};

// Everything one download works on, with real sockets and real settings copies.
struct DownloadRig {
  explicit DownloadRig(TextList lines, ProxySource* proxy_source = nullptr)
      : store(dir.path()),
        settings(std::move(lines)),
        cli(socket, loop),
        remote(RemoteConfigParts{settings, store, SiteBaseURL, cli, loop,
                                 proxy_source ? *proxy_source : proxy, status,
                                 [this] { return close_allowed; }}) {
    testing::init_gio();
  }

  testing::TempDir dir;
  ConfigStore store;
  Settings settings;
  std::string SiteBaseURL = "http://default.invalid";
  GlibMainLoop loop;
  GioSocket socket;
  HttpCli cli;
  FakeProxySource proxy;
  RecordingStatus status;
  bool close_allowed = false;
  RemoteConfig remote;
};

TextList sites(const std::vector<std::string>& bases) {
  TextList lines{"password=pw", "num-sites=" + std::to_string(bases.size())};
  for (std::size_t i = 0; i < bases.size(); ++i) {
    lines.push_back("site-" + std::to_string(i) + "=" + bases[i]);
  }
  return lines;
}

Reply config_reply(const std::string& document) {
  return Reply{http_response("HTTP/1.0 200 OK", {"Content-Type: text/plain"}, document)};
}

const std::string kPrimary = RemoteConfig::kPrimaryText;
const std::string kSecondary = RemoteConfig::kSecondaryText;
const std::string kGot = RemoteConfig::kGotText;
const std::string kFailed = RemoteConfig::kFailedText;

TEST(GetRemoteConfig, DownloadConfigZeroAsksNothing) {
  ScriptedServer server;
  server.on(kConfigPath, config_reply("a=1\r\n"));
  TextList lines = sites({server.base()});
  lines.push_back("download_config=0");
  DownloadRig rig(lines);
  const RemoteConfigResult result = rig.remote.GetRemoteConfig();
  EXPECT_EQ(result.outcome, RemoteConfigOutcome::Disabled);
  EXPECT_TRUE(rig.status.texts.empty());
  EXPECT_TRUE(rig.proxy.asked.empty());
  EXPECT_EQ(server.connections(), 0u);
  EXPECT_EQ(rig.store.first_usable_copy(), -1);  // nothing saved
}

TEST(GetRemoteConfig, NoSitesShowsTheFailureWithoutARequest) {
  for (const char* count : {"0", "-2", "junk"}) {
    DownloadRig rig({"num-sites=" + std::string(count), "site-0=http://127.0.0.1:1"});
    EXPECT_EQ(rig.remote.GetRemoteConfig().outcome, RemoteConfigOutcome::NoSites) << count;
    EXPECT_EQ(rig.status.texts, std::vector<std::string>{kFailed}) << count;
  }
}

TEST(GetRemoteConfig, ThirdSiteAnswersAfterTwoFailures) {
  ScriptedServer failing;  // answers 404
  ScriptedServer good;
  good.on(kConfigPath,
          config_reply("NUM-SITES=1\r\nemail_url=\r\nglobal-meta-data=<!--URL000:AD:X-->\r\n"
                       "global-meta-data=second\r\nprogram-version=201\r\n"));
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::unused_port());
  TextList lines = sites({refused, failing.base(), good.base()});
  lines.push_back("email_url=http://mail.example/");
  DownloadRig rig(lines);

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
  EXPECT_EQ(result.site, 2);
  EXPECT_TRUE(result.save.ok());
  EXPECT_EQ(rig.status.texts, (std::vector<std::string>{kPrimary, kSecondary, kSecondary, kGot}));
  EXPECT_EQ(rig.SiteBaseURL, good.base());
  EXPECT_EQ(failing.targets(), std::vector<std::string>{kConfigPath});
  EXPECT_EQ(good.targets(), std::vector<std::string>{kConfigPath});
  EXPECT_EQ(rig.settings.value("num-sites"), "1");
  EXPECT_FALSE(rig.settings.has("email_url"));
  EXPECT_EQ(rig.settings.value("global-meta-data"), "<!--URL000:AD:X-->");
  EXPECT_EQ(rig.settings.value("program-version"), "201");

  // Saved to all three copies: each one, read alone, holds the merge.
  const auto paths = rig.store.copy_paths();
  for (std::size_t i = 0; i < 3; ++i) {
    Settings read;
    EXPECT_EQ(rig.store.read_config(read), static_cast<LoadSource>(i));
    EXPECT_EQ(read.lines(), rig.settings.lines()) << paths[i];
    std::ofstream(paths[i], std::ios::binary | std::ios::trunc) << "damaged\r\n";
  }
}

TEST(GetRemoteConfig, WhenNoSiteAnswersNothingIsAppliedOrSaved) {
  ScriptedServer server;  // 404 for everything
  server.on(kConfigPath, Reply{http_response("HTTP/1.0 500 Oops", {}, "a=evil\r\n")});
  TextList lines = sites({server.base(), "http://no-such-site.tovali.invalid"});
  lines.insert(lines.begin() + 2, "num-sites=9");  // shadowed by the first num-sites line
  lines[1] = "num-sites=3";                        // site-2 is missing
  DownloadRig rig(lines);
  const TextList before = rig.settings.lines();

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::NoSiteAnswered);
  EXPECT_EQ(rig.status.texts,
            (std::vector<std::string>{kPrimary, kSecondary, kSecondary, kFailed}));
  EXPECT_EQ(rig.settings.lines(), before);
  EXPECT_EQ(rig.store.first_usable_copy(), -1);
  EXPECT_EQ(rig.SiteBaseURL, "");  // the last site tried: its key is missing
}

TEST(GetRemoteConfig, AFailedAttemptLeavesNothingBehindForThe200ThatFollows) {
  struct Case {
    const char* name;
    Reply first_site;
  };
  const Case cases[] = {
      {"an error answer whose body came with the header",
       Reply{http_response("HTTP/1.0 500 Oops", {}, "evil=1\r\n")}},
      {"an answer without header", Reply{"<HTML>\r\nevil=1\r\n"}},
  };
  for (const Case& c : cases) {
    ScriptedServer first;
    ScriptedServer second;
    first.on(kConfigPath, c.first_site);
    second.on(kConfigPath, Reply{http_response("HTTP/1.0 200 OK", {}, "")});
    DownloadRig rig(sites({first.base(), second.base()}));
    EXPECT_EQ(rig.remote.GetRemoteConfig().outcome, RemoteConfigOutcome::Applied) << c.name;
    EXPECT_FALSE(rig.settings.has("evil")) << c.name;
    EXPECT_EQ(rig.remote.HttpDoc(), "") << c.name;
    EXPECT_EQ(rig.store.first_usable_copy(), 0) << c.name;  // saved even so
  }
}

TEST(GetRemoteConfig, AnOversizedDocumentCountsAsAFailedSite) {
  ScriptedServer huge;
  huge.on(kConfigPath,
          config_reply("evil=1\r\n" + std::string(RemoteConfig::kMaxHttpDocBytes, 'x')));
  ScriptedServer good;
  good.on(kConfigPath, config_reply("a=1\r\n"));
  DownloadRig rig(sites({huge.base(), good.base()}));
  const RemoteConfigResult result = rig.remote.GetRemoteConfig();
  EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
  EXPECT_EQ(result.site, 1);
  EXPECT_FALSE(rig.settings.has("evil"));
  EXPECT_EQ(rig.settings.value("a"), "1");
}

TEST(GetRemoteConfig, ADocumentThatWouldPassTheLineLimitCountsAsAFailedSite) {
  std::string oversized = "password=evil\r\n";
  for (int i = 0; i < 70000; ++i) oversized += "k" + std::to_string(i) + "=1\r\n";
  for (const bool second_site_answers : {true, false}) {
    ScriptedServer huge;
    huge.on(kConfigPath, config_reply(oversized));
    ScriptedServer good;  // 404 for everything unless told
    if (second_site_answers) good.on(kConfigPath, config_reply("a=1\r\n"));
    DownloadRig rig(sites({huge.base(), good.base()}));
    const TextList before = rig.settings.lines();

    const RemoteConfigResult result = rig.remote.GetRemoteConfig();

    EXPECT_EQ(result.too_many_lines, std::vector<int>{0});
    EXPECT_EQ(rig.settings.value("password"), "pw");
    EXPECT_FALSE(rig.settings.has("k0"));
    if (second_site_answers) {
      EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
      EXPECT_EQ(result.site, 1);
      EXPECT_EQ(rig.settings.value("a"), "1");
      Settings saved;
      EXPECT_EQ(rig.store.read_config(saved), LoadSource::FirstCopy);
      EXPECT_EQ(saved.lines(), rig.settings.lines());
    } else {
      EXPECT_EQ(result.outcome, RemoteConfigOutcome::NoSiteAnswered);
      EXPECT_EQ(rig.status.texts.back(), kFailed);
      EXPECT_EQ(rig.settings.lines(), before);
      EXPECT_EQ(rig.store.first_usable_copy(), -1);
    }
  }
}

TEST(GetRemoteConfig, ANulByteEndsTheAppliedDocument) {
  ScriptedServer server;
  server.on(kConfigPath, config_reply(std::string("a=1\r\nb=2\0\r\nc=3\r\n", 15)));
  DownloadRig rig(sites({server.base()}));
  EXPECT_EQ(rig.remote.GetRemoteConfig().outcome, RemoteConfigOutcome::Applied);
  EXPECT_EQ(rig.settings.value("a"), "1");
  EXPECT_EQ(rig.settings.value("b"), "2");
  EXPECT_FALSE(rig.settings.has("c"));
}

TEST(GetRemoteConfig, ASiteThatNeverAnswersFailsAtTheTimeLimit) {
  ScriptedServer silent;
  silent.set_default(Reply{"", Ending::Hold});
  ScriptedServer good;
  good.on(kConfigPath, config_reply("a=1\r\n"));
  DownloadRig rig(sites({silent.base(), good.base()}));
  rig.remote.set_time_limit(std::chrono::milliseconds(300));

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
  EXPECT_EQ(result.site, 1);
  EXPECT_EQ(silent.requests().size(), 1u);
  EXPECT_EQ(rig.settings.value("a"), "1");
  EXPECT_EQ(RemoteConfig::kGetHttpFileTimeLimit, std::chrono::seconds(30));
}

TEST(GetRemoteConfig, ClosingDuringAWaitEndsTheWalkWithoutApplyingAnything) {
  ScriptedServer silent;
  silent.set_default(Reply{"", Ending::Hold});
  ScriptedServer good;
  good.on(kConfigPath, config_reply("a=1\r\n"));
  DownloadRig rig(sites({silent.base(), good.base(), good.base()}));
  // The close command arrives while the first site keeps us waiting.
  rig.cli.events().OnStateChange = [&rig](HttpCli& cli) {
    if (cli.State() == HttpState::AwaitingHeader) rig.close_allowed = true;
  };

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::NoSiteAnswered);
  EXPECT_EQ(good.connections(), 0u);
  EXPECT_FALSE(rig.settings.has("a"));
  EXPECT_EQ(rig.store.first_usable_copy(), -1);
  EXPECT_EQ(rig.cli.State(), HttpState::Ready);
  EXPECT_EQ(rig.status.texts,
            (std::vector<std::string>{kPrimary, kSecondary, kSecondary, kFailed}));
  EXPECT_EQ(rig.remote.GetHttpFile(rig.cli), 0);  // every later wait returns at once
}

TEST(GetProxySettings, TakesHostAndPortFromTheDesktopProxy) {
  struct Case {
    std::vector<std::string> answer;
    const char* proxy;
    const char* port;
  };
  const Case cases[] = {
      {{"direct://"}, "", "80"},
      {{}, "", "80"},
      {{"http://proxy.example:3128"}, "proxy.example", "3128"},
      {{"http://proxy.example"}, "proxy.example", "80"},
      {{"socks5://s.example:1080", "http://h.example:8081"}, "h.example", "8081"},
      {{"direct://", "http://h.example:8081"}, "", "80"},
  };
  for (const Case& c : cases) {
    FakeProxySource source;
    source.answer = c.answer;
    DownloadRig rig(sites({"http://site.example"}), &source);
    rig.remote.GetProxySettings();
    EXPECT_EQ(rig.cli.config().Proxy, c.proxy);
    EXPECT_EQ(rig.cli.config().ProxyPort, c.port);
    EXPECT_EQ(source.asked,
              std::vector<std::string>{"http://site.example" + std::string(kConfigPath)});
  }
}

TEST(GetRemoteConfig, UsesTheProxyFromHttpProxyInTheEnvironment) {
  ScriptedServer proxy;
  proxy.on("http://config-site.invalid" + std::string(kConfigPath), config_reply("via=proxy\r\n"));
  ::setenv("http_proxy", proxy.base().c_str(), 1);
  ::unsetenv("no_proxy");
  ::unsetenv("NO_PROXY");
  GioProxySource source;
  DownloadRig rig(sites({"http://config-site.invalid"}), &source);

  const RemoteConfigResult result = rig.remote.GetRemoteConfig();
  ::unsetenv("http_proxy");

  EXPECT_EQ(result.outcome, RemoteConfigOutcome::Applied);
  EXPECT_EQ(rig.cli.config().Proxy, "127.0.0.1");
  EXPECT_EQ(rig.cli.config().ProxyPort, std::to_string(proxy.port()));
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_EQ(proxy.requests()[0].substr(0, proxy.requests()[0].find("\r\n")),
            "GET http://config-site.invalid/tovali/v200/group1/teconfig.dat HTTP/1.0");
  EXPECT_NE(proxy.requests()[0].find("\r\nHost: config-site.invalid\r\n"), std::string::npos);
  EXPECT_EQ(rig.settings.value("via"), "proxy");
}

}  // namespace
}  // namespace tovali
