#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Translate.h"
#include "settings/ConfigStore.h"
#include "settings/Settings.h"

namespace tovali {

class DownloadTrust;
class EventPump;
class HttpCli;
class ProxySource;
class StatusReporter;

// How a configuration download ended.
enum class RemoteConfigOutcome {
  Disabled,        // download_config is "0": nothing shown, nothing asked
  NoSites,         // num-sites is 0 or less
  NoSiteAnswered,  // no site gave 200 (or the program began to close)
  Applied          // a site gave 200 and its document was merged and saved
};

struct RemoteConfigResult {
  RemoteConfigOutcome outcome = RemoteConfigOutcome::Disabled;
  int site = -1;    // index of the site that answered, when applied
  SaveReport save;  // the save after merging, when applied
  // Sites that answered 200 with a document whose merge would have left more
  // settings lines than a copy can count: not applied, counted as failed.
  std::vector<int> too_many_lines;
  // Sites refused for want of trust (a failed secure connection, a missing
  // or wrong signature, an unusable file of the administrator), with why.
  std::vector<std::string> refusals;
  // The applied document's writes of a known key with a value the key cannot
  // hold (config_value_warnings); they were applied all the same.
  std::vector<std::string> value_warnings;
};

// What the download works on; the caller owns all of it.
struct RemoteConfigParts {
  Settings& settings;
  const ConfigStore& store;            // SaveConfig after a merge
  std::string& SiteBaseURL;            // set to each site tried
  HttpCli& client;                     // configured and bound by RemoteConfig
  EventPump& pump;                     // runs the main loop while waiting
  ProxySource& proxy;                  // the desktop's proxy setting
  StatusReporter& status;              // the status line
  std::function<bool()> CloseAllowed;  // true once the program began to close
  // What a document must satisfy beyond a 200 answer; nullptr: nothing.
  const DownloadTrust* trust = nullptr;
};

// The writes a configuration document asks for, in document order: one per
// line that has a name (a line without "=", or with nothing before it, has
// none and changes nothing), under the line's own name, with the value of
// the first document line of that name (names compared without case). The
// document ends at its first NUL byte. Linear in the document's length.
std::vector<NamedValue> config_writes(std::string_view document);

// Merges a configuration document into `settings`: its writes, in order,
// with the write rules of Settings (an empty value deletes the key, a new
// name is appended, a known one replaced in place); a key that the
// administrator locked is left alone. Returns false, leaving
// `settings` unchanged, when the merged settings would hold more non-empty
// lines than a settings copy can count. Linear in the sizes of both.
bool merge_config_document(Settings& settings, std::string_view document);

// What a person should know about a configuration document: one sentence
// (CheckedValue::problem) for each of its writes, in document order, that
// gives a key of the table (or a numbered-list entry) a non-empty value the
// key cannot hold, or a switch anything but "1" or "0" (a downloaded "yes"
// is applied as it is and reads as off), leaving out the keys `settings` has
// locked. Names the
// program does not know are not told (a document may carry its own). Such
// writes still apply; this only tells them. Linear in the document.
std::vector<std::string> config_value_warnings(const Settings& settings, std::string_view document);

// The configuration download of start-up: fetches "teconfig.dat" from the
// first configuration site that answers 200, merges it into the settings and
// saves them. The status texts go to the status reporter; "Got
// configuration" only once a document was accepted (fetched with 200,
// trusted and merged), never at the mere end of a response body, which may
// still be refused.
//
// Beyond the classic download: every wait gives up after a time limit (the
// site counts as failed), HttpDoc is emptied before each attempt, and a
// request that cannot start counts as a failed site, and a document larger
// than kMaxHttpDocBytes is refused the same way, as is a document whose
// merge would leave more settings lines than a settings copy can count (the
// settings stay as they were and the next site is tried). When the trust
// demands a signature, the document's URL + ".minisig" is fetched too (same
// cap) and a site whose signature is missing or wrong fails; when the trust
// refuses everything, every site fails without a request.
class RemoteConfig {
 public:
  static constexpr std::chrono::milliseconds kGetHttpFileTimeLimit{30000};
  static constexpr std::chrono::milliseconds kWaitSlice{10};
  // A configuration document is a few kilobytes; a site that sends more than
  // this is aborted and counts as failed, so that it cannot exhaust memory.
  static constexpr std::size_t kMaxHttpDocBytes = 4 * 1024 * 1024;

  // Configures parts.client (ProxyPort "80", Agent, Accept, NoCache, ...,
  // no Proxy) and binds its document events to this object, which must then
  // outlive every request on it.
  explicit RemoteConfig(RemoteConfigParts parts);
  ~RemoteConfig();
  RemoteConfig(const RemoteConfig&) = delete;
  RemoteConfig& operator=(const RemoteConfig&) = delete;

  // The whole download. Runs the main loop (through the pump) while it waits,
  // so any other handler may run meanwhile. Never throws.
  RemoteConfigResult GetRemoteConfig();

  // Copies the desktop's proxy for the first configuration site into
  // the client: "direct://" leaves it alone, "http://HOST:PORT" sets Proxy and
  // ProxyPort, "http://HOST" sets Proxy only.
  void GetProxySettings();

  // Runs one GET on `client` and waits for it, at most time_limit(). Returns
  // the status code (404 when the limit ended it), or 0 when the program
  // began to close (no request is started then, and a running one is
  // aborted) or the request could not start.
  int GetHttpFile(HttpCli& client);

  void on_doc_begin(HttpCli& sender);
  void on_doc_data(HttpCli& sender, const char* buffer, std::size_t len);

  const std::string& HttpDoc() const { return m_http_doc; }

  std::chrono::milliseconds time_limit() const { return m_time_limit; }
  void set_time_limit(std::chrono::milliseconds limit) { m_time_limit = limit; }

  // The status texts, exactly as shown.
  static constexpr const char* kPrimaryText = N_("Getting configuration from primary site");
  static constexpr const char* kSecondaryText = N_("Getting configuration from secondary site");
  static constexpr const char* kGotText = N_("Got configuration");
  static constexpr const char* kFailedText = N_("Could not get configuration");

 private:
  // Fetches and checks the signature of the document in HttpDoc, when one is
  // required. On a refusal HttpDoc is emptied and the reason recorded.
  bool document_trusted(int site, RemoteConfigResult& result);
  void refuse(int site, const std::string& reason, RemoteConfigResult& result) const;

  RemoteConfigParts m_parts;
  std::string m_http_doc;
  std::chrono::milliseconds m_time_limit = kGetHttpFileTimeLimit;
};

}  // namespace tovali
