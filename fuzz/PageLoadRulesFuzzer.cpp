// The page guard on arbitrary messages: the rules' text form as the web
// process reads it, and the judge on whatever rules it gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "policy/PageLoadJudge.h"
#include "policy/PageLoadRules.h"
#include "policy/WebSocketFilter.h"

using namespace tovali;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto rules = decode_page_load_rules(text);
  if (!rules) return 0;
  fuzz::require(decode_page_load_rules(encode_page_load_rules(*rules)) == rules,
                "read rules written again read the same");
  const std::string filter = websocket_filter_json(*rules);
  fuzz::require(filter.empty() || (filter.front() == '[' && filter.back() == ']'),
                "the WebSocket filter is a JSON list or nothing");
  PageLoadJudge judge;
  judge.set_rules(*rules);
  const std::string page = rules->site_url;
  for (const std::string& url : {page, rules->site_url + "x.png", std::string("ws://a.example/"),
                                 std::string("data:,x"), std::string("file:///etc/passwd")}) {
    judge.judge(page, url);
  }
  fuzz::require(judge.judge(page, "data:,x") == LoadVerdict::Admit, "data: always loads");
  return 0;
}
