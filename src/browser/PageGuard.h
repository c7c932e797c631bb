#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The engine's own type names, declared as its headers declare them.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitWebView WebKitWebView;
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitWebContext WebKitWebContext;
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _GVariant GVariant;
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitUserContentFilter WebKitUserContentFilter;
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _WebKitUserContentFilterStore WebKitUserContentFilterStore;

namespace tovali {

// The program's side of the page guard, the module that judges what pages
// load inside the engine's web processes: where the engine finds it, and
// the rules every guard judges by (the text of encode_page_load_rules),
// sent to each web process at its start and to every view's page whenever
// they change. One for the program, on the user-interface thread.
class PageGuard {
 public:
  static PageGuard& instance();

  // Makes the engine load the guard from `dir` into every web process it
  // starts from now on, and keeps the compiled WebSocket filter below
  // `filter_store_dir`. Call before the first view loads anything.
  void use_folder(WebKitWebContext* context, const std::string& dir,
                  const std::string& filter_store_dir);
  const std::string& folder() const { return m_folder; }

  // The rules from now on; every view's page gets them at once, before
  // this returns (so before the engine hears of a decision taken after it).
  void set_rules(std::string encoded);
  const std::string& rules() const { return m_rules; }
  // The rules as the parameters of a kPageLoadRules message (a new,
  // floating value: bytes, as a page's text need not be UTF-8).
  GVariant* rules_message_parameters() const;

  // The content filter for WebSockets (websocket_filter_json; "" for none)
  // from now on. It is compiled in the background and then applied to every
  // view; until then the previous one stays. A filter that cannot be
  // compiled is told on standard error.
  void set_websocket_filter(const std::string& json);

  // The compile of `set_websocket_filter` call number `generation` has
  // ended with `filter` (nullptr when it failed): applied when no later call
  // came meanwhile.
  void filter_compiled(std::size_t generation, WebKitUserContentFilter* filter);

  // The views whose pages get the rules and the filter. A view's page gets
  // messages only once its guard has said that it runs (guard_runs_in):
  // before that it has loaded nothing, and its guard asks for the rules
  // itself when its page is created.
  void add_view(WebKitWebView* view);
  void remove_view(WebKitWebView* view);
  void guard_runs_in(WebKitWebView* view);

 private:
  void apply_filter(WebKitUserContentFilter* filter);

  PageGuard() = default;
  ~PageGuard() = delete;  // lives until the process ends

  std::string m_folder;
  std::string m_rules;
  std::vector<WebKitWebView*> m_views;
  std::vector<WebKitWebView*> m_guarded_views;
  WebKitUserContentFilterStore* m_filter_store = nullptr;
  WebKitUserContentFilter* m_filter = nullptr;
  std::string m_filter_json;
  // Which compile is the latest; an older one that finishes late is dropped.
  std::size_t m_filter_generation = 0;
};

}  // namespace tovali
