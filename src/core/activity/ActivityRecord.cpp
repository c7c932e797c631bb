#include "activity/ActivityRecord.h"

#include <algorithm>
#include <utility>

#include "policy/UrlText.h"

namespace tovali {

std::string ActivityRecord::host_of(std::string_view url) {
  if (url.find("://") == std::string_view::npos || begins_upper(url, "FILE:")) return {};
  std::string host = ExtractDomain(url);
  if (host.empty()) return {};
  if (host.size() > kMaxHostLength) host.resize(kMaxHostLength);
  for (char& c : host) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // Control characters and tabs would break the lines of the day files.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return host;
}

HostActivity* ActivityRecord::host(const LocalDate& date, std::string_view url) {
  const std::string name = host_of(url);
  if (name.empty()) return nullptr;
  auto& hosts = day(date).hosts;
  const auto found = hosts.find(name);
  if (found != hosts.end()) return &found->second;
  if (hosts.size() >= kMaxHostsPerDay - 1) return &hosts[kOtherHosts];
  return &hosts[name];
}

void ActivityRecord::add_opened(const LocalDate& date, std::string_view url) {
  if (HostActivity* counts = host(date, url)) ++counts->opened;
}

void ActivityRecord::add_refused(const LocalDate& date, std::string_view url) {
  if (HostActivity* counts = host(date, url)) ++counts->refused;
}

void ActivityRecord::add_blocked(const LocalDate& date, std::string_view url) {
  if (HostActivity* counts = host(date, url)) ++counts->blocked;
}

void ActivityRecord::add_request(const LocalDate& date, std::string_view url,
                                 RequestAnswer answer) {
  HostActivity* counts = host(date, url);
  if (!counts) return;
  ++counts->asked;
  switch (answer) {
    case RequestAnswer::AllowedOnce:
      ++counts->allowed_once;
      break;
    case RequestAnswer::AllowedAlways:
      ++counts->allowed_always;
      break;
    case RequestAnswer::Declined:
      ++counts->declined;
      break;
    case RequestAnswer::NoAnswer:
      break;
  }
}

DayActivity& ActivityRecord::day(const LocalDate& date) {
  return m_days[date.days_since_epoch()];
}

const DayActivity* ActivityRecord::find(const LocalDate& date) const {
  const auto found = m_days.find(date.days_since_epoch());
  return found == m_days.end() ? nullptr : &found->second;
}

void ActivityRecord::set_day(const LocalDate& date, DayActivity activity) {
  auto& hosts = activity.hosts;
  for (auto it = hosts.begin(); it != hosts.end();) {
    const bool fits = it->first.size() <= kMaxHostLength && !it->first.empty();
    it = fits ? std::next(it) : hosts.erase(it);
  }
  while (hosts.size() > kMaxHostsPerDay) hosts.erase(std::prev(hosts.end()));
  m_days[date.days_since_epoch()] = std::move(activity);
}

DayActivity merge_days(const DayActivity& a, const DayActivity& b) {
  DayActivity out = a;
  out.seconds_used = std::max(a.seconds_used, b.seconds_used);
  out.extra_minutes = std::max(a.extra_minutes, b.extra_minutes);
  out.warned = a.warned || b.warned;
  for (const auto& [name, counts] : b.hosts) {
    HostActivity& merged = out.hosts[name];
    merged.opened = std::max(merged.opened, counts.opened);
    merged.refused = std::max(merged.refused, counts.refused);
    merged.asked = std::max(merged.asked, counts.asked);
    merged.allowed_once = std::max(merged.allowed_once, counts.allowed_once);
    merged.allowed_always = std::max(merged.allowed_always, counts.allowed_always);
    merged.declined = std::max(merged.declined, counts.declined);
    merged.blocked = std::max(merged.blocked, counts.blocked);
  }
  return out;
}

}  // namespace tovali
