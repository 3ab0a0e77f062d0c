#include "command_options.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string_view>

#include "batch.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::cli {
namespace {

// An argument that can only be meant as an option, "-x" or "--name": not a
// negative number such as "-200", nor "-" or "--".
bool looksLikeOption(std::string_view arg) {
    const std::size_t dashes = arg.starts_with("--") ? 2 : arg.starts_with('-') ? 1 : 0;
    if (dashes == 0 || arg.size() == dashes) {
        return false;
    }
    const char first = arg[dashes];
    return (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
}

// Edits that turn a into b: inserting, deleting or changing a character, or
// swapping two neighbours (the commonest slip in typing).
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// The known option that a misspelt one was most likely meant to be: the
// nearest by edits to its name or to the name's last words ("--widht" for
// "--min-width"), or one that holds it whole ("--width"); empty when none is
// near enough to be a slip.
std::string nearestOption(const CLI::App& app, std::string_view typed) {
    typed.remove_prefix(typed.find_first_not_of('-'));
    const std::size_t nearEnough = std::max<std::size_t>(2, typed.size() / 3);
    std::string nearest;
    std::size_t best = nearEnough + 1;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) {
            std::size_t score =
                typed.size() >= 3 && name.find(typed) != std::string::npos ? 1 : best;
            // The whole name, then the words after each of its hyphens.
            for (std::size_t from = 0;;) {
                const std::string_view words = std::string_view(name).substr(from);
                if (typed.size() <= words.size() + nearEnough) {  // else too long for a slip
                    score = std::min(score, editDistance(typed, words));
                }
                const std::size_t hyphen = name.find('-', from);
                if (hyphen == std::string::npos) {
                    break;
                }
                from = hyphen + 1;
            }
            if (score < best) {
                best = score;
                nearest = "--" + name;
            }
        }
    }
    return nearest;
}

// Unknown options first, since a slip in an option's name makes every later
// complaint (a required option missing, a stray value) beside the point; then
// options given without their value. Both are named as typed.
std::optional<std::string> optionWordProblem(const CLI::App& app,
                                             const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    for (auto arg = args.begin(); arg != end; ++arg) {
        const std::string name = arg->substr(0, arg->find('='));
        if (looksLikeOption(name) && app.get_option_no_throw(name) == nullptr) {
            const std::string nearest = nearestOption(app, name);
            return "unknown option " + quoteForMessage(name) +
                   (nearest.empty() ? "" : " (did you mean " + nearest + "?)");
        }
    }
    for (auto arg = args.begin(); arg != end; ++arg) {
        if (!looksLikeOption(*arg) || arg->find('=') != std::string::npos) {
            continue;
        }
        const CLI::Option* option = app.get_option_no_throw(*arg);
        const bool takesValue = option != nullptr && option->get_items_expected_min() > 0;
        if (takesValue && (arg + 1 == end || looksLikeOption(*(arg + 1)))) {
            return *arg + " needs a value";
        }
    }
    return std::nullopt;
}

}  // namespace

double readOption(const OptionText& option) {
    const PlainReading reading = readPlainNumber(option.text);
    std::string_view problem;
    switch (reading.problem) {
        case PlainNumberProblem::None:
            return reading.value;
        case PlainNumberProblem::Empty:
        case PlainNumberProblem::NotANumber:
            problem = "not a number";
            break;
        case PlainNumberProblem::DecimalComma:
            problem = "not a number (use a decimal point)";
            break;
        case PlainNumberProblem::OutOfRange:
            problem = "beyond the range of numbers";
            break;
    }
    throw Refusal{std::string(option.name) + " " + quoteForMessage(option.text) + ": " +
                  std::string(problem)};
}

int readStages(const OptionText& option) {
    const double value = readOption(option);
    return value == std::floor(value) && value >= 1 && value <= kStageCount
               ? static_cast<int>(value)
               : 0;
}

std::optional<int> parseOptions(CLI::App& app, const std::vector<std::string>& args,
                                std::string& output, std::string& diagnostics) {
    app.set_help_flag("-h,--help", "Print this help and exit");
    // The same command line means the same thing on every system: "/csv" is
    // an unknown action and "/grid" no option on Windows too.
    app.allow_windows_style_options(false);
    app.allow_extras();
    const auto refusal = [&app](std::string_view problem) {
        return app.get_name() + ": " + std::string(problem) + "; see " + app.get_name() +
               " --help\n";
    };
    app.failure_message(
        [refusal](const CLI::App*, const CLI::Error& error) { return refusal(error.what()); });
    if (const std::optional<std::string> problem = optionWordProblem(app, args)) {
        diagnostics += refusal(*problem);
        return kExitBadInput;
    }
    // Parsed as a command line, so that unexpected arguments are listed in
    // the order given.
    std::vector<const char*> argv = {app.get_name().c_str()};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = app.exit(error, out, err);
        if (status == static_cast<int>(CLI::ExitCodes::Success)) {
            output += out.str();
            return kExitSuccess;
        }
        diagnostics += err.str();
        return kExitBadInput;
    }
    if (!app.remaining().empty()) {
        throw Refusal{"unexpected argument " + quoteForMessage(app.remaining().front()) + "; see " +
                      app.get_name() + " --help"};
    }
    return std::nullopt;
}

}  // namespace kalvitra::cli
