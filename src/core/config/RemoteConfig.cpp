#include "config/RemoteConfig.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <unordered_map>

#include "base/TextList.h"
#include "config/DownloadTrust.h"
#include "config/StatusReporter.h"
#include "net/EventPump.h"
#include "net/HttpCli.h"
#include "net/HttpUrl.h"
#include "net/ProxySource.h"
#include "settings/ScrambledFile.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"
#include "settings/StartupSettings.h"

namespace tovali {

namespace {

std::string config_url(const std::string& site_base) {
  return site_base + kSitePath + "/teconfig.dat";
}

}  // namespace

std::vector<NamedValue> config_writes(std::string_view document) {
  document = document.substr(0, document.find('\0'));
  // The name and value of every line that has a name, in document order.
  std::vector<NamedValue> writes;
  for (const std::string& line : split_lines(document)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    writes.push_back({line.substr(0, equals), line.substr(equals + 1)});
  }
  // Every line of a name writes the value of the name's first line.
  std::unordered_map<std::string, std::size_t> first_of_name;
  first_of_name.reserve(writes.size());
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const auto first = first_of_name.emplace(upper_case(writes[i].name), i).first->second;
    if (first != i) writes[i].value = writes[first].value;
  }
  return writes;
}

bool merge_config_document(Settings& settings, std::string_view document) {
  std::vector<NamedValue> writes = config_writes(document);
  // The administrator's locked keys are not the download's to change.
  writes.erase(std::remove_if(writes.begin(), writes.end(),
                              [&](const NamedValue& w) { return settings.is_locked(w.name); }),
               writes.end());
  Settings merged = settings;
  merged.set_values(writes);
  if (!why_not_encodable(merged.lines()).empty()) return false;
  settings = std::move(merged);
  return true;
}

std::vector<std::string> config_value_warnings(const Settings& settings,
                                               std::string_view document) {
  std::vector<std::string> warnings;
  for (const NamedValue& write : config_writes(document)) {
    if (settings.is_locked(write.name)) continue;
    CheckedValue checked = check_setting_value(write.name, write.value);
    if (checked.check == ValueCheck::WrongForm) {
      warnings.push_back(std::move(checked.problem));
      continue;
    }
    // A switch word other than "1" or "0" is what a person may write; from
    // the download it is applied as it is and reads as off.
    const SettingSpec* spec = find_setting(write.name);
    if (checked.check == ValueCheck::Accepted && spec && spec->kind == SettingKind::Switch &&
        checked.value != write.value) {
      warnings.push_back(value_form_text(write.name));
    }
  }
  return warnings;
}

RemoteConfig::RemoteConfig(RemoteConfigParts parts) : m_parts(std::move(parts)) {
  HttpCliConfig& config = m_parts.client.config();
  config.Proxy.clear();
  config.ProxyPort = "80";
  config.Agent = "Mozilla/3.0 (compatible)";
  config.Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  config.NoCache = true;
  config.ContentTypePost = "application/x-www-form-urlencoded";
  config.MultiThreaded = true;
  HttpCliEvents& events = m_parts.client.events();
  events.OnDocBegin = [this](HttpCli& sender) { on_doc_begin(sender); };
  events.OnDocData = [this](HttpCli& sender, const char* buffer, std::size_t len) {
    on_doc_data(sender, buffer, len);
  };
}

RemoteConfig::~RemoteConfig() {
  HttpCliEvents& events = m_parts.client.events();
  events.OnDocBegin = nullptr;
  events.OnDocData = nullptr;
}

void RemoteConfig::on_doc_begin(HttpCli&) {
  m_http_doc.clear();
}

void RemoteConfig::on_doc_data(HttpCli& sender, const char* buffer, std::size_t len) {
  if (m_http_doc.size() + len > kMaxHttpDocBytes) {
    m_http_doc.clear();
    sender.Abort();
    return;
  }
  m_http_doc.append(buffer, len);
}

void RemoteConfig::GetProxySettings() {
  const std::string url = config_url(m_parts.settings.value(std::string(keys::site_prefix) + "0"));
  for (const std::string& proxy : m_parts.proxy.proxies_for(url)) {
    if (proxy == "direct://") return;
    const HttpUrlParts parts = split_http_url(proxy);
    if (!equals_ignore_case(parts.scheme, "http") || parts.host.empty()) continue;
    HttpCliConfig& config = m_parts.client.config();
    config.Proxy = parts.host;
    if (!parts.port.empty()) config.ProxyPort = parts.port;
    return;
  }
}

int RemoteConfig::GetHttpFile(HttpCli& client) {
  if (m_parts.CloseAllowed()) return 0;
  try {
    client.StartGet();
  } catch (const std::exception&) {
    return 0;
  }
  const auto deadline = std::chrono::steady_clock::now() + m_time_limit;
  while (client.State() != HttpState::Ready) {
    std::this_thread::sleep_for(kWaitSlice);
    m_parts.pump.run_pending();
    if (m_parts.CloseAllowed()) {
      if (client.State() != HttpState::Ready) client.Abort();
      return 0;
    }
    if (client.State() != HttpState::Ready && std::chrono::steady_clock::now() >= deadline) {
      client.Abort();
    }
  }
  return client.StatusCode();
}

RemoteConfigResult RemoteConfig::GetRemoteConfig() {
  RemoteConfigResult result;
  Settings& settings = m_parts.settings;
  if (!settings.is_on(keys::download_config)) return result;
  try {
    GetProxySettings();
  } catch (const std::exception&) {
    // The download goes on without a proxy.
  }
  const int count = settings.count(keys::num_sites);
  if (count <= 0) {
    m_parts.status.set_status_text(kFailedText);
    result.outcome = RemoteConfigOutcome::NoSites;
    return result;
  }
  for (int i = 0; i < count; ++i) {
    m_parts.SiteBaseURL = settings.value(std::string(keys::site_prefix) + std::to_string(i));
    m_parts.status.set_status_text(i == 0 ? kPrimaryText : kSecondaryText);
    m_parts.client.config().URL = config_url(m_parts.SiteBaseURL);
    m_http_doc.clear();
    if (m_parts.trust && !m_parts.trust->problem().empty()) {
      refuse(i, m_parts.trust->problem(), result);
      continue;
    }
    const int status = GetHttpFile(m_parts.client);
    if (status == 404 && m_parts.client.security_failure()) {
      refuse(i, m_parts.client.ReasonPhrase(), result);
    }
    if (status == 200 && document_trusted(i, result)) {
      std::vector<std::string> warnings = config_value_warnings(settings, m_http_doc);
      if (!merge_config_document(settings, m_http_doc)) {
        result.too_many_lines.push_back(i);
        continue;
      }
      m_parts.status.set_status_text(kGotText);
      result.outcome = RemoteConfigOutcome::Applied;
      result.site = i;
      result.value_warnings = std::move(warnings);
      result.save = m_parts.store.SaveConfig(settings);
      return result;
    }
  }
  m_parts.status.set_status_text(kFailedText);
  result.outcome = RemoteConfigOutcome::NoSiteAnswered;
  return result;
}

bool RemoteConfig::document_trusted(int site, RemoteConfigResult& result) {
  if (!m_parts.trust || !m_parts.trust->requires_signature()) return true;
  std::string document = std::move(m_http_doc);
  m_http_doc.clear();
  HttpCliConfig& config = m_parts.client.config();
  config.URL += ".minisig";
  const int status = GetHttpFile(m_parts.client);
  const std::string signature = std::move(m_http_doc);
  m_http_doc.clear();
  std::string problem;
  if (status != 200) {
    problem = "no signature at " + config.URL + " (" +
              (status == 0 ? std::string("not fetched")
                           : std::to_string(status) + " " + m_parts.client.ReasonPhrase()) +
              ")";
  } else {
    problem = m_parts.trust->signature_problem(document, signature);
  }
  if (!problem.empty()) {
    refuse(site, problem, result);
    return false;
  }
  m_http_doc = std::move(document);
  return true;
}

void RemoteConfig::refuse(int site, const std::string& reason, RemoteConfigResult& result) const {
  result.refusals.push_back("site-" + std::to_string(site) + " (" + m_parts.SiteBaseURL +
                            "): " + reason);
}

}  // namespace tovali
