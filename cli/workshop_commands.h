#pragma once

#include <string>
#include <vector>

#include "byte_stream.h"

// The batch tool's workshop commands, run from the table of commands:
//   cutlist  what to cut per step, with sheet counts and the frame mass (CSV,
//            and a DXF drawing of the pieces)
//   loss     the no-load loss of the frame from a grade's loss curve
// Each takes the arguments after its name and follows runDesignCommand's
// contract for output, diagnostics and the exit status.

namespace kalvitra::cli {

int runCutList(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics);

int runLoss(const std::vector<std::string>& args, ByteSource& input, std::string& output,
            std::string& diagnostics);

}  // namespace kalvitra::cli
