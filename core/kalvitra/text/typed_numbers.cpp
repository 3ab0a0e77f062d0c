#include "kalvitra/text/typed_numbers.h"

#include <algorithm>

#include "kalvitra/text/utf8.h"

namespace kalvitra {

std::string foldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint c = decodeUtf8(text, i);
        if (c.value >= U'\uFF01' && c.value <= U'\uFF5E') {
            // The full-width forms of U+0021..U+007E, in the same order.
            folded += static_cast<char>(c.value - 0xFEE0);
        } else if (c.value == U'\u3000') {
            folded += ' ';
        } else if (c.value == U'\u2212') {
            folded += '-';
        } else {
            folded.append(text.substr(i, c.length));
        }
        i += c.length;
    }
    return folded;
}

PlainReading readTypedNumber(std::string_view text) {
    return readPlainNumber(foldFullWidth(text));
}

WidthListReading readWidthList(std::string_view text) {
    WidthListReading reading;
    const std::string folded = foldFullWidth(text);
    const std::string_view rest = folded;
    std::size_t at = 0;
    while (true) {
        at = rest.find_first_not_of(" \t\r\n", at);
        if (at == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(rest.find_first_of(" \t\r\n", at), rest.size());
        const PlainReading width = readPlainNumber(rest.substr(at, end - at));
        if (width.problem != PlainNumberProblem::None) {
            reading.problem = width.problem;
            reading.index = reading.widths.size() + 1;
            reading.widths.clear();
            return reading;
        }
        reading.widths.push_back(width.value);
        at = end;
    }
    if (reading.widths.empty()) {
        reading.problem = PlainNumberProblem::Empty;
        reading.index = 1;
    }
    return reading;
}

std::string writeWidthList(std::span<const double> widths) {
    std::string text;
    for (const double width : widths) {
        text += text.empty() ? "" : " ";
        text += writeDefault(width);
    }
    return text;
}

}  // namespace kalvitra
