#include "activity/ActivityRecord.h"

#include <utility>

#include "policy/UrlText.h"

namespace tovali {

std::string ActivityRecord::host_of(std::string_view url) {
  std::string host = ExtractDomain(url);
  if (url.find("://") == std::string_view::npos || host.empty()) return kNoHost;
  if (host.size() > kMaxHostLength) host.resize(kMaxHostLength);
  for (char& c : host) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // Control characters and tabs would break the lines of the day files.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return host;
}

HostActivity& ActivityRecord::host(const LocalDate& date, std::string_view url) {
  auto& hosts = day(date).hosts;
  const std::string name = host_of(url);
  const auto found = hosts.find(name);
  if (found != hosts.end()) return found->second;
  if (hosts.size() >= kMaxHostsPerDay - 1) return hosts[kOtherHosts];
  return hosts[name];
}

void ActivityRecord::add_opened(const LocalDate& date, std::string_view url) {
  ++host(date, url).opened;
}

void ActivityRecord::add_refused(const LocalDate& date, std::string_view url) {
  ++host(date, url).refused;
}

void ActivityRecord::add_request(const LocalDate& date, std::string_view url,
                                 RequestAnswer answer) {
  HostActivity& counts = host(date, url);
  ++counts.asked;
  switch (answer) {
    case RequestAnswer::AllowedOnce:
      ++counts.allowed_once;
      break;
    case RequestAnswer::AllowedAlways:
      ++counts.allowed_always;
      break;
    case RequestAnswer::Declined:
      ++counts.declined;
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

std::map<long, DayActivity> ActivityRecord::prune(const LocalDate& today) {
  const long first_kept = today.days_since_epoch() - (kDaysKept - 1);
  std::map<long, DayActivity> dropped;
  while (!m_days.empty() && m_days.begin()->first < first_kept) {
    dropped.insert(m_days.extract(m_days.begin()));
  }
  return dropped;
}

}  // namespace tovali
