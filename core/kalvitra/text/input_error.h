#pragma once

#include <cstddef>
#include <string>

namespace kalvitra {

// Why the input cannot be taken, and the input line (1-based) where the
// trouble is. Readers report these instead of guessing what was meant.
struct InputError {
    std::size_t line = 0;
    std::string problem;

    std::string describe() const { return "line " + std::to_string(line) + ": " + problem; }
};

}  // namespace kalvitra
