#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Random inputs for the batch tool, the same bytes on every system for the
// same seed: the engine's sequence is fixed by the C++ standard, and every
// choice is taken from its raw output, never from a distribution (whose
// results the standard leaves to each library).

namespace kalvitra::testing {

class RandomInputs {
public:
    explicit RandomInputs(std::uint64_t seed) : engine_(seed) {}

    // One sheet in NAME=TEXT lines: mostly a workable design, with hostile
    // texts, line ends and byte order marks, and now and then a line the
    // reader must refuse.
    std::string sheet();
    // A CSV table of about rows designs, quoted and unquoted, LF and CRLF;
    // now and then a malformed line late in the table.
    std::string csvTable(int rows);
    // Any bytes at all.
    std::string bytes();

    // Command-line pieces; every one is valid UTF-8, as any argument that
    // Windows can pass.
    std::vector<std::string> actionNames();  // one to six, good ones mostly
    std::string numberText();                // number texts, sound and hostile
    std::string word();                      // anything a user might type

    // 0 .. n-1.
    std::uint64_t below(std::uint64_t n) { return engine_() % n; }
    bool oneIn(std::uint64_t n) { return below(n) == 0; }

private:
    // Texts for a design whose core diameter is given in hundredths of a mm.
    std::string fieldText(std::string_view name, std::uint64_t diameter);
    std::string csvValue(std::string_view name, std::uint64_t diameter);
    std::string lineEnd();
    template <typename T>
    const T& pick(const std::vector<T>& from) {
        return from[below(from.size())];
    }

    std::mt19937_64 engine_;
};

}  // namespace kalvitra::testing
