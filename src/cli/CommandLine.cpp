#include "cli/CommandLine.h"

#include <glib.h>

#include <map>
#include <memory>
#include <set>

#include "base/Translate.h"

namespace tovali {

namespace {

// What the callbacks of one parse share.
struct ParseState {
  // Each option by the names it may be written with ("--days", "-h").
  std::map<std::string, const void*> by_name;
  // The long names seen so far.
  std::set<std::string> seen;
};

}  // namespace

void CommandLine::add_switch(const std::string& long_name, char short_name, bool* given) {
  m_options.push_back({long_name, short_name, given, {}});
}

void CommandLine::add_value(const std::string& long_name, ValueTaker take) {
  m_options.push_back({long_name, 0, nullptr, std::move(take)});
}

std::optional<std::vector<std::string>> CommandLine::parse(const std::vector<std::string>& args,
                                                           std::string& problem) const {
  ParseState state;
  for (const Option& option : m_options) {
    state.by_name["--" + option.long_name] = &option;
    if (option.short_name != 0) state.by_name[std::string("-") + option.short_name] = &option;
  }
  // Every option goes through one callback, which finds it by the name it
  // was written with; GLib hands the callback its group's data.
  const GOptionArgFunc take_option = [](const gchar* name, const gchar* value, gpointer data,
                                        GError** error) -> gboolean {
    auto* parse_state = static_cast<ParseState*>(data);
    try {
      const auto found = parse_state->by_name.find(name);
      if (found == parse_state->by_name.end()) {
        g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_UNKNOWN_OPTION, "%s",
                    fill(tr("Unknown option {1}"), {name}).c_str());
        return FALSE;
      }
      const auto& option = *static_cast<const Option*>(found->second);
      if (!parse_state->seen.insert(option.long_name).second) {
        g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_FAILED, "%s",
                    fill(tr("--{1} given twice"), {option.long_name}).c_str());
        return FALSE;
      }
      if (option.given) {
        *option.given = true;
        return TRUE;
      }
      std::string refused;
      if (!option.take(value ? value : "", refused)) {
        g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_BAD_VALUE, "--%s %s: %s",
                    option.long_name.c_str(), value ? value : "", refused.c_str());
        return FALSE;
      }
      return TRUE;
    } catch (const std::exception& e) {
      g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_FAILED, "%s", e.what());
      return FALSE;
    }
  };

  std::vector<GOptionEntry> entries;
  for (const Option& option : m_options) {
    GOptionEntry entry{};
    entry.long_name = option.long_name.c_str();
    entry.short_name = option.short_name;
    entry.flags = option.given ? G_OPTION_FLAG_NO_ARG : 0;
    entry.arg = G_OPTION_ARG_CALLBACK;
    entry.arg_data = reinterpret_cast<gpointer>(take_option);
    entries.push_back(entry);
  }
  entries.push_back(GOptionEntry{});  // the end of the table

  const std::unique_ptr<GOptionContext, decltype(&g_option_context_free)> context(
      g_option_context_new(nullptr), &g_option_context_free);
  // GLib's own --help would print its text and end the process.
  g_option_context_set_help_enabled(context.get(), FALSE);
  g_option_context_set_strict_posix(context.get(), TRUE);
  GOptionGroup* group = g_option_group_new("main", "", "", &state, nullptr);
  g_option_group_add_entries(group, entries.data());
  g_option_context_set_main_group(context.get(), group);

  // The program name first, as GLib expects; it is dropped again below.
  gchar** argv = g_new0(gchar*, args.size() + 2);
  argv[0] = g_strdup(m_program.c_str());
  for (std::size_t i = 0; i < args.size(); ++i) argv[i + 1] = g_strdup(args[i].c_str());
  GError* error = nullptr;
  const bool parsed = g_option_context_parse_strv(context.get(), &argv, &error);
  std::optional<std::vector<std::string>> rest;
  if (parsed) {
    rest.emplace();
    for (gchar** arg = argv + 1; *arg; ++arg) rest->emplace_back(*arg);
  } else {
    problem = error ? error->message : tr("cannot read the command line");
  }
  g_clear_error(&error);
  g_strfreev(argv);
  return rest;
}

}  // namespace tovali
