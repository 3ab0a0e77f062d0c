#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// What every command of the batch tool that takes options shares: how its
// command line is parsed, how a number given for an option is read, and the
// one line that refuses a bad one.

namespace kalvitra::cli {

// A bad option or input: the one line that goes to standard error after the
// command's name (what()). Thrown by the commands, caught once where they are
// run; a bad input, as the core's DesignError is.
class Refusal : public std::invalid_argument {
public:
    explicit Refusal(const std::string& message) : std::invalid_argument(message) {}
};

// An option's name and the text given for it (or its default).
struct OptionText {
    std::string_view name;
    std::string text;
};

// A number on the command line must be one plain number, so "200mm", "inf",
// "nan" and "200,5" are refused rather than guessed at (a comma is never a
// digit group: 200,5 is not 2005). Throws Refusal naming the option and the
// text.
double readOption(const OptionText& option);

// A stage count that is not a whole number from 1 to 9 becomes 0, which the
// design functions refuse with their message.
int readStages(const OptionText& option);

// Parses args with app; the status to exit with when parsing ends the run
// (help, or a usage error), or nullopt to carry on. Help goes to output,
// usage errors to diagnostics.
std::optional<int> parseOptions(CLI::App& app, const std::vector<std::string>& args,
                                std::string& output, std::string& diagnostics);

}  // namespace kalvitra::cli
