// Runs the real tovali-rules executable on small menu pages, with private
// settings folders.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TempDir.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {
namespace {

using testing::CommandResult;
using testing::TempDir;

const char* const kMenuPage =
    "<html><head><title>Menu</title><!--URL001:AD:head.example--></head>\n"
    "<BODY bgcolor=\"white\">\n"
    "<a href=\"http001://www.example.com/\">Example</a>\n"
    "<!--URL001:AD:example.com-->\n"
    "<!--url001:sd:ads.example-->\n"
    "<!--URL001:PU:http://www.example.com/bad.html-->\n"
    "</body>\n"
    "<!--URL001:AD:after.example-->\n"
    "</Body></html>\n"
    "<!--URL001:AD:outside.example-->\n";

class RulesToolTest : public ::testing::Test {
 protected:
  CommandResult rules(std::vector<std::string> args) {
    args.insert(args.begin(), TOVALI_RULES_EXE);
    return testing::run_command(args, {{"XDG_CONFIG_HOME", m_home.path() + "cfg"},
                                       {"TOVALI_SYSTEM_DIR", m_home.path() + "system"}});
  }
  std::string page(const std::string& name, const std::string& text) {
    m_home.write(name, text);
    return m_home.path() + name;
  }
  std::string settings_dir() const { return m_home.path() + "cfg/tovali-explorer/"; }

  TempDir m_home;
};

TEST_F(RulesToolTest, JudgeActsAsAClickOnTheLinkInTheBody) {
  const std::string menu = page("menu.html", kMenuPage);
  const CommandResult r =
      rules({"judge", menu, "http001://www.example.com/", "http://www.example.com/",
             "http://www.example.com/bad.html", "http://banner.ads.example/",
             "http://after.example/", "http://head.example/", "http://outside.example/",
             "about:config", "http://www.example.com/setup.exe"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out,
            "admitted\thttp://www.example.com/\n"
            "refused\thttp://www.example.com/bad.html\n"
            "silent\thttp://banner.ads.example/\n"
            "admitted\thttp://after.example/\n"  // up to the last "</body>"
            "refused\thttp://head.example/\n"    // the head is not read
            "refused\thttp://outside.example/\n"
            "silent\tabout:config\n"
            "refused\thttp://www.example.com/setup.exe\n");  // a default extension
  // Nothing was written: no settings copies, no log.
  EXPECT_FALSE(std::filesystem::exists(settings_dir()));
}

TEST_F(RulesToolTest, JudgeReadsTheUsersSettings) {
  Settings settings;
  ConfigStore store(settings_dir());
  store.LoadDefaults(settings);
  settings.set_value("use_global_meta_data", "1");
  settings.set_value("global-meta-data", "<!--URL001:AD:global.example-->");
  settings.set_value("num_cust_prohibited_domains", "1");
  settings.set_value("cust_pd-0", "EXAMPLE.COM");
  ASSERT_TRUE(store.SaveConfig(settings).ok());
  const auto copy = store.copy_paths()[0];
  const auto written = std::filesystem::last_write_time(copy);

  const std::string menu = page("menu.html", kMenuPage);
  const CommandResult r = rules({"judge", menu, "http001://www.example.com/",
                                 "http://www.global.example/", "http://www.example.com/"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "admitted\thttp://www.global.example/\nrefused\thttp://www.example.com/\n");
  EXPECT_EQ(std::filesystem::last_write_time(copy), written);
}

// The parent's prohibited domain refuses the whole site, whether it was
// written as the site's domain or as the host of one of its pages.
TEST_F(RulesToolTest, JudgeRefusesAProhibitedSiteWrittenEitherWay) {
  const std::string menu =
      page("menu.html", "<body><!--URL001:AD:badsite.co.uk--><!--URL001:AD:goodsite.co.uk-->");
  for (const char* entry : {"www.badsite.co.uk", "badsite.co.uk"}) {
    Settings settings;
    ConfigStore store(settings_dir());
    store.LoadDefaults(settings);
    settings.set_value("num_cust_prohibited_domains", "1");
    settings.set_value("cust_pd-0", entry);
    ASSERT_TRUE(store.SaveConfig(settings).ok());
    const CommandResult r = rules({"judge", menu, "http001://www.goodsite.co.uk/",
                                   "http://www.badsite.co.uk/", "http://badsite.co.uk/",
                                   "https://shop.badsite.co.uk/", "http://www.goodsite.co.uk/"});
    EXPECT_EQ(r.exit_status, 0) << r.err;
    EXPECT_EQ(r.out,
              "refused\thttp://www.badsite.co.uk/\nrefused\thttp://badsite.co.uk/\n"
              "refused\thttps://shop.badsite.co.uk/\nadmitted\thttp://www.goodsite.co.uk/\n")
        << entry;
  }
}

TEST_F(RulesToolTest, JudgeAppliesTheAdministratorsLocks) {
  m_home.write("system/settings.conf", "num_prohibited_file_exts=1\npext-0=pdf\n");
  const std::string menu = page("menu.html", kMenuPage);
  const CommandResult r =
      rules({"judge", menu, "http001://www.example.com/", "http://www.example.com/a.pdf",
             "http://www.example.com/setup.exe"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out,
            "refused\thttp://www.example.com/a.pdf\nadmitted\thttp://www.example.com/setup.exe\n");
}

TEST_F(RulesToolTest, JudgeWithAPlainLinkUsesTheSameSiteRule) {
  const std::string menu = page("plain.html", "<!--URL001:AD:example.com-->");
  const CommandResult r = rules({"judge", menu, "http://www.kids.example/",
                                 "https://games.kids.example/x", "http://www.example.com/"});
  EXPECT_EQ(r.out, "admitted\thttps://games.kids.example/x\nrefused\thttp://www.example.com/\n");
}

struct LintCase {
  const char* name;
  std::string text;
  int status;
  std::string out;
};

TEST_F(RulesToolTest, Lint) {
  const LintCase cases[] = {
      {"clean.html",
       "<body>\n<a href=\"HTTP001://www.example.com/\">x</a>\n<!--URL001:AD:example.com-->\n"
       "<!--URL001:AT:.example.com--><!--NAVFRAMEWIDTH=250-->\n"
       "<a href=\"http://plain.example/\">y</a><a href=\"httpnav://menu/\">z</a></body>",
       0, ""},
      {"domain.html",
       "<body>\n<!--URL001:AD:www.example.com-->\n<!--URL001:SD:a/b-->\n"
       "<!--URL001:AD:localhost--><!--URL001:AD:127.0.0.1:8470--><!--URL001:AD:[::1]-->\n"
       "<!--URL001:AD:bbc.co.uk--><!--URL001:SD:someone.github.io--><!--URL001:AD:www.ck-->\n"
       "<!--URL001:AD:www.bbc.co.uk-->",
       1,
       "FILE:2: AD value \"WWW.EXAMPLE.COM\" is not a domain and never matches: the domain of "
       "that host is \"EXAMPLE.COM\"\n"
       "FILE:3: SD value \"A/B\" is not a domain and never matches\n"
       "FILE:6: AD value \"WWW.BBC.CO.UK\" is not a domain and never matches: the domain of that "
       "host is \"BBC.CO.UK\"\n"},
      // A public suffix is the domain of no site (the value as written).
      {"suffix.html",
       "<body>\n<!--URL001:AD:co.uk-->\n<!--url002:sd:GitHub.io-->\n<!--URL003:AD:b.ck-->\n"
       "<!--URL004:AD:co.uk:8080-->",
       1,
       "FILE:2: co.uk is a public suffix and names no site\n"
       "FILE:3: GitHub.io is a public suffix and names no site\n"
       "FILE:4: b.ck is a public suffix and names no site\n"
       "FILE:5: co.uk:8080 is a public suffix and names no site\n"},
      {"link.html",
       "<body>\n<a href=\"http007://www.example.com/\">x</a>\n<!-- http008://commented -->\n"
       "<!--URL001:AD:example.com-->",
       1, "FILE:2: menu link with number \"007\" has no URL comment: the link admits nothing\n"},
      {"code.html", "<!--URL001:QQ:example.com-->", 1,
       "FILE:1: URL comment with unknown code \"QQ\" is ignored\n"},
      {"open.html", "x\ny\n<!--URL001:AD:example.com", 1,
       "FILE:3: URL comment without \"-->\": its entry is the number \"001\" alone\n"},
      {"width.html", "<!--NAVFRAMEWIDTH=99-->\n<!--NAVFRAMEWIDTH=200-->", 1,
       "FILE:1: width \"99\" is not a number from 100 to 300; the width is 100\n"
       "FILE:2: width comment is ignored: only the first one counts\n"},
      {"width-ok.html", "<!--NAVFRAMEWIDTH=100-->", 0, ""},
      // A warning quotes at most 200 characters of a value.
      {"long.html", "<!--URL001:AD:" + std::string(250, 'a') + "/-->", 1,
       "FILE:1: AD value \"" + std::string(200, 'A') + "...\" is not a domain and never matches\n"},
      // Comments left open overlap: each value runs to the one "-->", so
      // both hold characters that no host name holds.
      {"overlap.html", "<!--URL001:AD:a.b\n<!--URL001:AD:c.d\n<!--URL001:AD:e-->", 1,
       "FILE:1: AD value \"A.B\n<!--URL001:AD:C.D\n<!--URL001:AD:E\" is not a domain and never "
       "matches\n"
       "FILE:2: AD value \"C.D\n<!--URL001:AD:E\" is not a domain and never matches\n"},
      // "HTTP" near the end of the page: too short for a menu link.
      {"http.html", "HTTP", 0, ""},
      {"http-end.html", "<body>\nx http0", 0, ""},
      {"http-six.html", "a HTTP01:", 0, ""},
      {"http-cut.html", "http001:/", 0, ""},
      {"http-last.html", "<body>\n<a href=http009://", 1,
       "FILE:2: menu link with number \"009\" has no URL comment: the link admits nothing\n"},
      // Comments end at their first "-->"; a link after it counts again.
      {"comments.html",
       "<!-- <!-- http001://a --> http002://b <!-- x\n--> <!--http003://c\n-->http004://d", 1,
       "FILE:1: menu link with number \"002\" has no URL comment: the link admits nothing\n"
       "FILE:3: menu link with number \"004\" has no URL comment: the link admits nothing\n"},
  };
  for (const LintCase& c : cases) {
    const std::string path = page(c.name, c.text);
    const CommandResult r = rules({"lint", path});
    EXPECT_EQ(r.exit_status, c.status) << c.name << r.err;
    std::string expected = c.out;
    for (std::size_t at; (at = expected.find("FILE")) != std::string::npos;) {
      expected.replace(at, 4, path);
    }
    EXPECT_EQ(r.out, expected) << c.name;
  }
}

TEST_F(RulesToolTest, WrongCallsAndUnreadableFiles) {
  const std::string menu = page("menu.html", kMenuPage);
  const std::vector<std::vector<std::string>> calls = {{},
                                                       {"judge"},
                                                       {"judge", menu},
                                                       {"judge", menu, "http001://x/"},
                                                       {"lint"},
                                                       {"lint", menu, "extra"},
                                                       {"check", menu}};
  for (const auto& call : calls) {
    const CommandResult r = rules(call);
    EXPECT_EQ(r.exit_status, 2) << (call.empty() ? "" : call[0]);
    EXPECT_NE(r.err.find("Usage: tovali-rules"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
  for (const std::string& path : {m_home.path() + "missing.html", m_home.path()}) {
    for (const std::vector<std::string>& call :
         {std::vector<std::string>{"lint", path},
          std::vector<std::string>{"judge", path, "http001://x/", "http://x/"}}) {
      const CommandResult r = rules(call);
      EXPECT_EQ(r.exit_status, 2) << path;
      EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
      EXPECT_TRUE(r.err.find("No such file") != std::string::npos ||
                  r.err.find("Is a directory") != std::string::npos)
          << r.err;
    }
  }
  const CommandResult help = rules({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.out.find("Usage: tovali-rules judge MENU_FILE LINK_URL URL..."),
            std::string::npos);
}

// --help and -h print the usage text alone; an option the tool does not
// know is named before it.
TEST_F(RulesToolTest, HelpAndUnknownOptions) {
  for (const char* option : {"--help", "-h"}) {
    const CommandResult r = rules({option});
    EXPECT_EQ(r.exit_status, 0) << option;
    EXPECT_EQ(r.out.rfind("Usage: tovali-rules judge MENU_FILE LINK_URL URL...\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n       tovali-rules lint MENU_FILE\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "") << option;
  }
  const std::string menu = page("menu.html", kMenuPage);
  const struct {
    std::vector<std::string> call;
    const char* problem;
  } cases[] = {
      {{"--strict", "lint", menu}, "Unknown option --strict"},
      {{"-q"}, "Unknown option -q"},
      {{"--help", "lint", menu}, "wrong call"},
      {{"-h", "--help"}, "--help given twice"},
  };
  for (const auto& c : cases) {
    const CommandResult r = rules(c.call);
    EXPECT_EQ(r.exit_status, 2) << c.problem;
    EXPECT_EQ(r.err.rfind(std::string("tovali-rules: ") + c.problem + "\nUsage: tovali-rules", 0),
              0u)
        << r.err;
    EXPECT_TRUE(r.out.empty()) << c.problem;
  }
  // After the command every argument is its own, even one that looks like
  // an option.
  const CommandResult judged = rules({"judge", menu, "http001://www.example.com/", "--help"});
  EXPECT_EQ(judged.exit_status, 0) << judged.err;
  EXPECT_EQ(judged.out.substr(judged.out.find('\t')), "\t--help\n") << judged.out;
}

}  // namespace
}  // namespace tovali
