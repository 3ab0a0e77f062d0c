#pragma once

// Runs a command of the batch tool in this process, as kalvitra-cli's main
// does: arguments and standard input in, standard output, standard error
// and the exit status caught.

#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "design_commands.h"

namespace kalvitra::cli {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline CommandRun runInProcess(std::string_view command, const std::vector<std::string>& args,
                               std::string_view input) {
    StringSource source(input);
    CommandRun result;
    result.status = runDesignCommand(command, args, source, result.out, result.err);
    return result;
}

}  // namespace kalvitra::cli
