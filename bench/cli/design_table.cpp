#include "design_table.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvitra::bench {
namespace {

void appendNumber(std::string& out, long value) {
    out += std::to_string(value);
}

// A value given in thousandths, written as a decimal: 965 -> "0.965".
void appendThousandths(std::string& out, int thousandths) {
    out += std::to_string(thousandths / 1000);
    out += '.';
    const int fraction = thousandths % 1000;
    out += static_cast<char>('0' + fraction / 100);
    out += static_cast<char>('0' + fraction / 10 % 10);
    out += static_cast<char>('0' + fraction % 10);
}

}  // namespace

std::string DesignTable::header() {
    return "Text1,Text2,TXJS,D,PK1,PK2,PK3,PK4,PK5,PK6,PK7,PK8,PK9,H,M,Z,MD,dpxs\n";
}

int DesignTable::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

void DesignTable::appendRow(std::string& out) {
    ++rowNumber_;
    const int stages = uniform(6, 9);
    const int diameter = uniform(20, 240) * 5;  // 100 .. 1200 mm
    const int ratedKva = uniform(1, 400) * 50;

    // Every fiftieth model name needs quoting, as hand-kept tables do.
    if (rowNumber_ % 50 == 0) {
        out += "\"S11-M-" + std::to_string(ratedKva) + "/10, \"\"rev B\"\"\"";
    } else {
        out += "S11-M-" + std::to_string(ratedKva) + "/10";
    }
    out += ",J";
    appendNumber(out, static_cast<long>(20240000 + rowNumber_ % 100000));
    out += ',';
    appendNumber(out, stages);
    out += ',';
    appendNumber(out, diameter);

    // Stage k's outer corners lie on the circle at an angle that grows
    // evenly from the centre stage outwards; widths are cut to 5 mm steps.
    int previousWidth = diameter;
    for (int stage = 1; stage <= 9; ++stage) {
        out += ',';
        if (stage > stages) {
            continue;
        }
        const double angle = (stage + 0.5) * (std::numbers::pi / 2) / (stages + 1.6);
        int width = static_cast<int>(diameter * std::cos(angle) / 5) * 5;
        width = std::max(std::min(width, previousWidth - 5), 10);
        previousWidth = width;
        appendNumber(out, width);
    }

    const int windowHeight = diameter * uniform(20, 40) / 10 / 10 * 10;
    const int limbDistance = diameter + uniform(10, 80) * 5;
    const int roll = uniform(0, 9);
    const int limbs = roll == 0 ? 1 : roll == 1 ? 2 : 3;
    out += ',';
    appendNumber(out, windowHeight);
    out += ',';
    appendNumber(out, limbDistance);
    out += ',';
    appendNumber(out, limbs);
    out += roll < 8 ? ",7.65," : ",7.60,";
    appendThousandths(out, uniform(190, 196) * 5);
    out += '\n';
}

}  // namespace kalvitra::bench
