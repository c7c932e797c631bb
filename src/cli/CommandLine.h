#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tovali {

// The options of one command line, parsed by GLib's GOptionContext: long
// names ("--days 3", "--days=3"), one-letter names ("-h"), switches and
// options that take a value. Parsing stops at the first argument that is not
// an option, so a command and its arguments (which may start with "-") are
// left as they were.
class CommandLine {
 public:
  // Takes the value of an option; returns false with `problem` set to
  // refuse it.
  using ValueTaker = std::function<bool(const std::string& value, std::string& problem)>;

  // `program`: the name GLib knows the process by when none is set yet.
  explicit CommandLine(std::string program) : m_program(std::move(program)) {}

  // A switch `--long_name` (and `-short_name` unless it is 0): `*given`
  // becomes true when it is on the line.
  void add_switch(const std::string& long_name, char short_name, bool* given);

  // An option `--long_name VALUE`; `take` gets the value.
  void add_value(const std::string& long_name, ValueTaker take);

  // Parses `args` (without the program name). Returns the arguments after
  // the options, or nullopt with `problem` saying what is wrong: an option
  // that is not known (named as written), an option given twice, a missing
  // or refused value.
  std::optional<std::vector<std::string>> parse(const std::vector<std::string>& args,
                                                std::string& problem) const;

 private:
  struct Option {
    std::string long_name;
    char short_name = 0;
    bool* given = nullptr;  // a switch when set
    ValueTaker take;
  };

  std::string m_program;
  std::vector<Option> m_options;
};

}  // namespace tovali
