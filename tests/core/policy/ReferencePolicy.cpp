#include "ReferencePolicy.h"

#include "policy/UrlText.h"
#include "settings/Settings.h"

namespace tovali::testing {

namespace {

std::string first(std::string_view text, std::size_t n) {
  return upper_case(text.substr(0, std::min(n, text.size())));
}

bool begins(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

const TextList& list_of(const ReferenceState& s, RuleCode code) {
  return s.lists[static_cast<std::size_t>(code)];
}

bool host_ending_matches(const ReferenceState& s, const TextList& entries, std::string_view url) {
  std::string host = upper_case(url);
  if (begins(host, "HTTP://")) host.erase(0, 7);
  const std::size_t slash = host.find('/');
  if (slash != std::string::npos) host.erase(slash);
  for (const std::string& e : entries) {
    const std::size_t n = e.size() >= 3 ? e.size() - 3 : 0;
    const std::string tail = host.size() <= n ? host : host.substr(host.size() - n);
    if (s.url_number + tail == e) return true;
  }
  return false;
}

}  // namespace

ReferenceScan reference_scan(std::string_view original) {
  ReferenceScan scan;
  std::string text = upper_case(original);
  const std::string marker = "<!--NAVFRAMEWIDTH=";
  const std::size_t w = text.find(marker);
  if (w != std::string::npos) {
    std::string value = text.substr(w + marker.size(), 10);
    const std::size_t close = value.find("-->");
    if (close != std::string::npos) value.erase(close);
    bool number = !value.empty();
    for (std::size_t i = 0; i < value.size(); ++i) {
      const bool sign = i == 0 && (value[i] == '-' || value[i] == '+') && value.size() > 1;
      if (!sign && (value[i] < '0' || value[i] > '9')) number = false;
    }
    long long width = number ? std::stoll(value) : 100;
    if (width < 100 || width > 300) width = 100;
    scan.width = static_cast<int>(width);
  }
  std::size_t p;
  while ((p = text.find("<!--URL")) != std::string::npos) {
    const std::string number = text.substr(p + 7, 3);
    text.erase(0, std::min(text.size(), p + 7 + number.size() + 1));
    const std::string code = text.substr(0, 2);
    text.erase(0, std::min<std::size_t>(3, text.size()));
    std::string entry = number;
    const std::size_t close = text.find("-->");
    if (close != std::string::npos) entry += text.substr(0, close);
    if (const auto list = code_from_text(code)) {
      scan.lists[static_cast<std::size_t>(*list)].push_back(entry);
    }
  }
  return scan;
}

// The domain the guards judge by: only http(s) URLs have one.
static std::string web_domain(std::string_view url) {
  const std::string upper = upper_case(url);
  if (!begins(upper, "HTTP://") && !begins(upper, "HTTPS://")) return std::string();
  return ExtractDomain(url);
}

bool reference_allow(const ReferenceState& s, std::string_view url) {
  if (begins(upper_case(url), "FILE:")) return true;
  if (first(url, 10) == "JAVASCRIPT") return true;
  if (first(url, 11) == "ABOUT:BLANK") return true;
  if (s.url_number.empty() && !web_domain(url).empty() &&
      web_domain(url) == web_domain(s.current_site_url)) {
    return true;
  }
  const std::string key = upper_case(s.url_number + std::string(url));
  if (holds(list_of(s, RuleCode::PU), key)) return false;
  for (const std::string& e : list_of(s, RuleCode::PS)) {
    if (begins(key, e)) return false;
  }
  if (host_ending_matches(s, list_of(s, RuleCode::PT), url)) return false;
  if (!web_domain(url).empty() &&
      holds(list_of(s, RuleCode::AD), upper_case(s.url_number + web_domain(url)))) {
    return true;
  }
  if (holds(list_of(s, RuleCode::AU), key)) return true;
  for (const std::string& e : list_of(s, RuleCode::AS)) {
    if (begins(key, e)) return true;
  }
  return host_ending_matches(s, list_of(s, RuleCode::AT), url);
}

// The parent's lists ignore empty entries (gaps in the numbered keys).
static bool holds_non_empty(const TextList& list, std::string_view text) {
  return !text.empty() && holds(list, text);
}

bool reference_cust_allow(const ReferenceState& s, std::string_view url) {
  if (!url.empty() && url.find('.') != std::string_view::npos) {
    if (holds_non_empty(s.exts, url.substr(url.rfind('.') + 1))) return false;
  }
  // A prohibited domain entry stands for the domain of what it names.
  TextList cust_domains;
  for (const std::string& entry : s.cust_domains) cust_domains.push_back(ExtractDomain(entry));
  std::string u(url);
  for (int pass = 0; pass < 2; ++pass) {
    if (holds_non_empty(cust_domains, web_domain(u))) return false;
    if (holds_non_empty(s.cust_urls, upper_case(u))) return false;
    if (pass == 1 || u.empty() || u.back() != '/') break;
    u.pop_back();
  }
  return true;
}

bool reference_suppress(const ReferenceState& s, std::string_view url) {
  if (s.url_number.empty()) return false;
  if (begins(upper_case(url), "RES://")) return true;
  if (!web_domain(url).empty() &&
      holds(list_of(s, RuleCode::SD), s.url_number + upper_case(web_domain(url)))) {
    return true;
  }
  const std::string key = upper_case(s.url_number + std::string(url));
  for (const std::string& e : list_of(s, RuleCode::SS)) {
    if (begins(key, e)) return true;
  }
  return false;
}

}  // namespace tovali::testing
