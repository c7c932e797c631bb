#include "models/GeneratedPages.h"

#include "settings/SettingsKeys.h"

#include <cstdio>
#include <fstream>

namespace tovali {

namespace {
const char kCrLf[] = "\r\n";
}

std::string error_page_text() {
  return std::string(
             "There was a problem getting a web page from the Internet or network. Please try "
             "again later or contact customer support.") +
         kCrLf;
}

std::string more_sites_page_text(const Settings& settings) {
  const TextList descriptions = settings.list(keys::num_moresites, keys::ms_desc_prefix);
  const TextList urls = settings.list(keys::num_moresites, keys::ms_url_prefix);
  TextList lines = {
      "<HTML>",
      "<HEAD><TITLE>Tovali Explorer - More Sites</TITLE></HEAD>",
      "<BODY>",
      "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"-1\">",
  };
  if (urls.empty()) {
    lines.push_back("There are no additional sites available.");
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

std::string time_up_page_text() {
  return join_crlf({
      "<HTML>",
      "<HEAD><TITLE>Tovali Explorer - Time is up</TITLE></HEAD>",
      "<BODY>",
      "<P ALIGN=\"CENTER\"><FONT FACE=\"Arial\" SIZE=\"+2\"><BR><BR>" +
          std::string(kTimeUpMessage) + "</FONT></P>",
      "</BODY>",
      "</HTML>",
  });
}

std::string settings_unreadable_page_text() {
  return join_crlf({
      "<HTML>",
      "<HEAD><TITLE>Tovali Explorer</TITLE></HEAD>",
      "<BODY>",
      "<P><FONT FACE=\"Arial\" SIZE=\"+1\">" + std::string(kSettingsUnreadableMessage) +
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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    if (error) *error = "cannot create " + path;
    return false;
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
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
  return {program_dir + "welcome.html",
          program_dir + "help.html",
          program_dir + "setuphelp/setuphelp.html",
          state_dir + "error.html",
          state_dir + "moresites.html",
          state_dir + "timeup.html",
          state_dir + "unreadable.html"};
}

}  // namespace tovali
