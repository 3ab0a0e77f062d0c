// kalvitra-gen-designs [ROWS [SEED]]: writes a CSV table of ROWS plausible
// core designs (default 1000000) to standard output, for timing
// `kalvitra-cli --csv` on large tables.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "design_table.h"

namespace {

bool parseCount(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long rows = 1000000;
    unsigned long long seed = 1;
    if (argc > 3 || (argc > 1 && !parseCount(argv[1], rows)) ||
        (argc > 2 && !parseCount(argv[2], seed))) {
        std::fputs("usage: kalvitra-gen-designs [ROWS [SEED]]\n", stderr);
        return 2;
    }
    kalvitra::bench::DesignTable table(seed);
    std::string buffer = kalvitra::bench::DesignTable::header();
    for (unsigned long long row = 0; row <= rows; ++row) {
        if (row < rows) {
            table.appendRow(buffer);
        }
        if (buffer.size() >= 64 * 1024 || row == rows) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), stdout) != buffer.size()) {
                std::perror("kalvitra-gen-designs: cannot write");
                return 2;
            }
            buffer.clear();
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 2;
}
