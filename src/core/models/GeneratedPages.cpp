#include "models/GeneratedPages.h"

#include "base/AtomicFile.h"
#include "base/PageLanguage.h"
#include "base/Translate.h"
#include "policy/UrlText.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <cstdio>

namespace tovali {

namespace {
const char kCrLf[] = "\r\n";

// The look of one entry of the program's own menu: a big button.
constexpr const char kMenuButtonStyle[] =
    "a.site { display: block; margin: 0 0 10px; padding: 12px 6px; border-radius: 12px; "
    "background: #1e88e5; color: #fff; font-size: 18px; font-weight: bold; text-align: center; "
    "text-decoration: none; overflow-wrap: anywhere; }";

// The highest link number a menu link can carry in its three digits.
constexpr std::size_t kMaxLinkNumber = 999;

std::string html_escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The address after "http://" or "https://" (any letter case) when it
// names a host; nullopt for any other address.
std::optional<std::string> address_after_scheme(const std::string& url) {
  std::size_t start = 0;
  if (begins_upper(url, "HTTP://"))
    start = 7;
  else if (begins_upper(url, "HTTPS://"))
    start = 8;
  else
    return std::nullopt;
  const std::string rest = url.substr(start);
  if (rest.empty() || rest.find_first_of("/?#") == 0) return std::nullopt;
  for (const char c : url) {
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7f) return std::nullopt;
  }
  return rest;
}

// True when `domain` holds only the characters of a host name and a port.
bool is_domain_text(std::string_view domain) {
  if (domain.empty()) return false;
  for (const char c : domain) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '.' && c != '-' && c != ':' && c != '[' && c != ']') return false;
  }
  return true;
}

std::string lower_case(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// "001" for entry 0.
// `text` translated, with every letter beyond ASCII written as a character
// reference, so that a page without a declared character set shows it.
std::string translated_html(const char* text) {
  const std::string translated = tr(text);
  std::string out;
  out.reserve(translated.size());
  for (std::size_t i = 0; i < translated.size();) {
    const auto lead = static_cast<unsigned char>(translated[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (length == 1 || i + length > translated.size()) {
      out += translated[i++];
      continue;
    }
    unsigned long code = lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k)
      code = (code << 6) | (static_cast<unsigned char>(translated[i + k]) & 0x3F);
    out += "&#" + std::to_string(code) + ";";
    i += length;
  }
  return out;
}

std::string link_number(std::size_t entry) {
  std::string number = std::to_string(entry + 1);
  return std::string(3 - number.size(), '0') + number;
}

}  // namespace

std::string error_page_text() {
  return translated_html(
             N_("There was a problem getting a web page from the Internet or network. Please try "
                "again later or contact customer support.")) +
         kCrLf;
}

std::string more_sites_page_text(const Settings& settings) {
  const TextList descriptions = settings.list(keys::num_moresites, keys::ms_desc_prefix);
  const TextList urls = settings.list(keys::num_moresites, keys::ms_url_prefix);
  TextList lines = {
      "<HTML>",
      "<HEAD><TITLE>" + translated_html(N_("Tovali Explorer - More Sites")) + "</TITLE></HEAD>",
      "<BODY>",
      "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"-1\">",
  };
  if (urls.empty()) {
    lines.push_back(translated_html(N_("There are no additional sites available.")));
  } else {
    for (std::size_t i = 0; i < urls.size(); ++i) {
      const std::string description = i < descriptions.size() ? descriptions[i] : std::string();
      lines.push_back("<A HREF=\"" + urls[i] + "\">" + description + "</A><BR><BR>");
    }
  }
  lines.push_back("</BODY>");
  lines.push_back("</HTML>");
  return join_crlf(lines);
}

std::string local_menu_page_text(const Settings& settings) {
  const TextList titles = settings.list(keys::num_menu_sites, keys::mt_prefix);
  const TextList urls = settings.list(keys::num_menu_sites, keys::mu_prefix);
  const TextList domains = settings.list(keys::num_menu_sites, keys::md_prefix);
  TextList lines = {
      "<!DOCTYPE html>",
      "<HTML>",
      "<HEAD><META CHARSET=\"utf-8\"><TITLE>" + translated_html(N_("Tovali Explorer - Menu")) +
          "</TITLE>",
      "<STYLE>",
      "body { margin: 0; padding: 8px 6px; background: #fff8e1; font-family: Arial, sans-serif; }",
      kMenuButtonStyle,
      "</STYLE>",
      "</HEAD>",
      "<BODY>",
  };
  const std::size_t entries = std::min(urls.size(), kMaxLinkNumber);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::optional<std::string> rest = address_after_scheme(urls[i]);
    if (!rest) continue;
    const std::string number = link_number(i);
    const std::string rule = "<!--URL" + number + ":AD:";
    lines.push_back(rule + lower_case(ExtractDomain(urls[i])) + "-->");
    std::size_t at = 0;
    const std::string& listed = domains[i];
    while (at < listed.size()) {
      const std::size_t begin = listed.find_first_not_of(" \t", at);
      if (begin == std::string::npos) break;
      const std::size_t end = std::min(listed.find_first_of(" \t", begin), listed.size());
      const std::string domain = listed.substr(begin, end - begin);
      if (is_domain_text(domain)) lines.push_back(rule + lower_case(domain) + "-->");
      at = end;
    }
    const std::string& caption = titles[i].empty() ? urls[i] : titles[i];
    lines.push_back("<A CLASS=\"site\" HREF=\"" + html_escaped("HTTP" + number + "://" + *rest) +
                    "\">" + html_escaped(caption) + "</A>");
  }
  lines.push_back("</BODY>");
  lines.push_back("</HTML>");
  return join_crlf(lines);
}

std::string time_up_page_text() {
  return join_crlf({
      "<HTML>",
      "<HEAD><TITLE>" + translated_html(N_("Tovali Explorer - Time is up")) + "</TITLE></HEAD>",
      "<BODY>",
      "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"+2\"><BR><BR>" +
          translated_html(kTimeUpMessage) + "</FONT></P>",
      "</BODY>",
      "</HTML>",
  });
}

std::string settings_unreadable_page_text() {
  return join_crlf({
      "<HTML>",
      "<HEAD><TITLE>Tovali Explorer</TITLE></HEAD>",
      "<BODY>",
      "<P><FONT FACE=\"Arial\" SIZE=\"+1\">" + translated_html(kSettingsUnreadableMessage) +
          "</FONT></P>",
      "</BODY>",
      "</HTML>",
  });
}

std::string write_settings_unreadable_page(const std::string& dir) {
  std::string path = dir + "unreadable.html";
  write_page_file(path, settings_unreadable_page_text());
  return path;
}

std::string home_site_url(const Settings& settings, const std::string& site_base_url,
                          const std::string& site_path) {
  if (!settings.is_on(keys::default_home_location)) return settings.value(keys::home_button_url);
  return site_base_url + site_path + "/teindex.php3?" + kHomeQueryWord;
}

bool write_page_file(const std::string& path, const std::string& text, std::string* error) {
  // The engine may be reading the previous page while a new one is written:
  // it sees one or the other, never a page cut short.
  return write_file_atomically(path, text, error);
}

std::string write_error_page(const std::string& dir) {
  std::string path = dir + "error.html";
  write_page_file(path, error_page_text());
  return path;
}

std::optional<std::string> write_more_sites_page(const std::string& dir, const Settings& settings) {
  const std::string path = dir + "moresites.html";
  if (!write_page_file(path, more_sites_page_text(settings))) return std::nullopt;
  return path;
}

std::optional<std::string> write_local_menu_page(const std::string& dir, const Settings& settings) {
  const std::string path = dir + kLocalMenuFileName;
  if (!write_page_file(path, local_menu_page_text(settings))) return std::nullopt;
  return path;
}

std::optional<std::string> write_time_up_page(const std::string& dir) {
  const std::string path = dir + "timeup.html";
  if (!write_page_file(path, time_up_page_text())) return std::nullopt;
  return path;
}

bool title_reports_missing_page(const std::string& title) {
  return upper_case(title).find("404 NOT FOUND") != std::string::npos;
}

bool status_names_internal_page(const std::string& status_text) {
  return upper_case(status_text).find("RES://") != std::string::npos;
}

std::vector<std::string> program_page_paths(const std::string& program_dir,
                                            const std::string& state_dir) {
  std::vector<std::string> paths;
  // The supplied pages, and their copies in the session's language.
  for (const char* page : {"welcome.html", "help.html", "setuphelp/setuphelp.html"}) {
    paths.push_back(program_dir + page);
    std::string localized = supplied_page_path(program_dir, page);
    if (localized != paths.back()) paths.push_back(std::move(localized));
  }
  for (const char* page : {"error.html", "moresites.html", "timeup.html", "unreadable.html"})
    paths.push_back(state_dir + page);
  paths.push_back(state_dir + kLocalMenuFileName);
  return paths;
}

}  // namespace tovali
