#include "policy/PageLoadRules.h"

#include "policy/LinkMetaData.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace tovali {

namespace {

constexpr std::string_view kHeader = "tovali-page-load-rules 1";

bool read_by_judge(std::string_view name) {
  const auto starts = [&](std::string_view prefix) {
    return name.substr(0, prefix.size()) == prefix;
  };
  return name == keys::strict_page_loads.name() ||
         name == keys::num_cust_prohibited_domains.name() ||
         name == keys::num_cust_prohibited_urls.name() ||
         name == keys::num_prohibited_file_exts.name() || starts(keys::cust_pd_prefix) ||
         starts(keys::cust_pu_prefix) || starts(keys::pext_prefix);
}

// Reads the line that starts at `at` (up to "\n" or the end) and moves past it.
// Past the end (`at` beyond the text) it gives "" and stays there.
std::string_view next_line(std::string_view text, std::size_t& at) {
  if (at > text.size()) return {};
  const std::size_t end = text.find('\n', at);
  const std::string_view line =
      text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
  at = end == std::string_view::npos ? text.size() + 1 : end + 1;
  return line;
}

// "NAME=" + value: the value, or nullopt for another line.
std::optional<std::string_view> field(std::string_view line, std::string_view name) {
  if (line.size() < name.size() + 1 || line.substr(0, name.size()) != name ||
      line[name.size()] != '=')
    return std::nullopt;
  return line.substr(name.size() + 1);
}

bool read_count(std::string_view text, std::size_t& at, std::string_view name, std::size_t& count) {
  const auto value = field(next_line(text, at), name);
  if (!value || value->empty() || value->size() > 9) return false;
  count = 0;
  for (const char c : *value) {
    if (c < '0' || c > '9') return false;
    count = count * 10 + static_cast<std::size_t>(c - '0');
  }
  return true;
}

bool read_lines(std::string_view text, std::size_t& at, std::string_view name, TextList& lines) {
  std::size_t count = 0;
  if (!read_count(text, at, name, count)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (at > text.size()) return false;
    lines.emplace_back(next_line(text, at));
  }
  return true;
}

void write_lines(std::string& out, std::string_view name, const TextList& lines) {
  out.append(name).append("=").append(std::to_string(lines.size())).append("\n");
  for (const auto& line : lines) out.append(line).append("\n");
}

}  // namespace

PageLoadRules page_load_rules(const Settings& settings, const LinkMetaData& meta,
                              const TextList& program_prefixes) {
  PageLoadRules rules;
  for (const auto& line : settings.lines()) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && read_by_judge(std::string_view(line).substr(0, eq)))
      rules.setting_lines.push_back(line);
  }
  rules.program_prefixes = program_prefixes;
  rules.url_number = meta.URLNumber();
  rules.site_url = meta.CurrentSiteURL();
  rules.rules_text = meta.rules().record_text("");
  return rules;
}

std::string encode_page_load_rules(const PageLoadRules& rules) {
  std::string out(kHeader);
  out.append("\n");
  write_lines(out, "settings", rules.setting_lines);
  write_lines(out, "programs", rules.program_prefixes);
  out.append("number=").append(rules.url_number).append("\n");
  out.append("site=").append(rules.site_url).append("\n");
  out.append("rules=").append(rules.rules_text);
  return out;
}

std::optional<PageLoadRules> decode_page_load_rules(std::string_view text) {
  std::size_t at = 0;
  if (next_line(text, at) != kHeader) return std::nullopt;
  PageLoadRules rules;
  if (!read_lines(text, at, "settings", rules.setting_lines) ||
      !read_lines(text, at, "programs", rules.program_prefixes) || at > text.size())
    return std::nullopt;
  const std::string_view number_line = next_line(text, at);
  const std::string_view site_line = next_line(text, at);
  if (at > text.size()) return std::nullopt;
  const auto number = field(number_line, "number");
  const auto site = field(site_line, "site");
  const std::string_view rest = at > text.size() ? std::string_view() : text.substr(at);
  if (!number || !site || rest.substr(0, 6) != "rules=") return std::nullopt;
  rules.url_number = std::string(*number);
  rules.site_url = std::string(*site);
  rules.rules_text = std::string(rest.substr(6));
  return rules;
}

}  // namespace tovali
