#pragma once

#include <string>
#include <vector>

// The batch tool's rating command: from a three-phase transformer's rating
// to its turns, net area and core (see kalvitra-cli rating --help).

namespace kalvitra::cli {

// Runs the command as runDesignCommand runs a design command; it reads no
// standard input.
int runRating(const std::vector<std::string>& args, std::string& output, std::string& diagnostics);

}  // namespace kalvitra::cli
