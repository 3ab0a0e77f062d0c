#include "command_options.h"

#include <cmath>
#include <sstream>

#include "batch.h"
#include "kalvitra/errors.h"
#include "kalvitra/numbers.h"
#include "kalvitra/sheet.h"
#include "kalvitra/utf8.h"

namespace kalvitra::cli {

double readOption(const OptionText& option) {
    try {
        return readStrict(option.text);
    } catch (const CalcError& error) {
        throw Refusal{
            std::string(option.name) + " " + quoteForMessage(option.text) + ": " +
            (error.kind() == ErrorKind::Overflow ? "beyond the range of numbers" : "not a number")};
    }
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
    // "/grid" is no option on any system, as in the main command line.
    app.allow_windows_style_options(false);
    app.allow_extras();
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
        return failed->get_name() + ": " + error.what() + "; see " + failed->get_name() +
               " --help\n";
    });
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
