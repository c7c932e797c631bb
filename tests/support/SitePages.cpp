#include "SitePages.h"

namespace tovali::testing {

std::string html_page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"><title>" + title +
         "</title></head>\n<body>\n" + body + "\n</body>\n</html>\n";
}

std::string menu_page(const std::vector<std::string>& comments, const std::vector<PageLink>& links,
                      const std::string& extra_body) {
  std::string body;
  for (const auto& c : comments) body += c + "\n";
  for (const auto& l : links)
    body += "<p><a id=\"" + l.id + "\" href=\"" + l.href + "\">" + l.text + "</a></p>\n";
  body += extra_body;
  return html_page("Test menu", body);
}

std::string click_script(const std::string& id, int delay_ms) {
  return "<script>window.addEventListener('load', function () { (function ready() {"
         " var r = new XMLHttpRequest(); r.open('GET', '/" +
         std::string(kMenuReadMarker) +
         "?' + Date.now()); r.onloadend = function () {"
         " if (r.status !== 200) { setTimeout(ready, 100); return; }"
         " setTimeout(function () { document.getElementById('" +
         id +
         "').dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true,"
         " view: window})); }, " +
         std::to_string(delay_ms) + "); }; r.send(); })(); });</script>\n";
}

std::string step_script(const std::string& step_path) {
  return "<script>(function () { var done = 'none'; function poll() {"
         " var r = new XMLHttpRequest(); r.open('GET', '" +
         step_path +
         "?' + Date.now());"
         " r.onloadend = function () { var step = r.responseText.trim();"
         " var target = document.getElementById(step);"
         " if (r.status === 200 && step !== done && target) { done = step;"
         " target.dispatchEvent(new MouseEvent('click',"
         " {bubbles: true, cancelable: true, view: window})); }"
         " setTimeout(poll, 100); }; r.send(); }"
         " window.addEventListener('load', poll); })();</script>\n";
}

std::string url_comment(const std::string& number, const std::string& code,
                        const std::string& value) {
  return "<!--URL" + number + ":" + code + ":" + value + "-->";
}

}  // namespace tovali::testing
