#pragma once

#include <cstdint>
#include <random>
#include <string>

// Generates CSV tables of plausible core designs for timing the batch tool:
// six to nine stages whose widths step down along the circle of the core
// diameter, with window height, limb distance, limb count, density and
// stacking factor in the ranges of distribution and power transformers.

namespace kalvitra::bench {

class DesignTable {
public:
    explicit DesignTable(std::uint64_t seed) : random_(seed) {}

    static std::string header();
    // Appends one design as a CSV row, line feed included.
    void appendRow(std::string& out);

private:
    int uniform(int low, int high);  // inclusive, both ends

    std::mt19937_64 random_;
    std::uint64_t rowNumber_ = 0;
};

}  // namespace kalvitra::bench
