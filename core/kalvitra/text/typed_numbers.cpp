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

namespace {

// What separates two widths once full-width forms are folded; the
// enumeration comma 、 (U+3001) has no ASCII form and is turned into a blank first.
constexpr std::string_view kWidthSeparators = " \t\r\n\v\f,;";
constexpr std::string_view kEnumerationComma = "\u3001";

std::string foldedList(std::string_view text) {
    const std::string folded = foldFullWidth(text);
    const std::string_view rest = folded;
    std::string list;
    list.reserve(folded.size());
    std::size_t from = 0;
    for (std::size_t at = rest.find(kEnumerationComma); at != std::string_view::npos;
         at = rest.find(kEnumerationComma, from)) {
        list.append(rest.substr(from, at - from));
        list += ' ';
        from = at + kEnumerationComma.size();
    }
    list.append(rest.substr(from));
    return list;
}

// The words of the list, in order.
std::vector<std::string> widthWords(const std::string& folded) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while ((at = folded.find_first_not_of(kWidthSeparators, at)) != std::string::npos) {
        const std::size_t end = std::min(folded.find_first_of(kWidthSeparators, at), folded.size());
        words.push_back(folded.substr(at, end - at));
        at = end;
    }
    return words;
}

}  // namespace

WidthListReading readWidthList(std::string_view text) {
    WidthListReading reading;
    for (std::string& word : widthWords(foldedList(text))) {
        const PlainReading width = readPlainNumber(word);
        if (width.problem != PlainNumberProblem::None) {
            reading.problem = width.problem;
            reading.index = reading.widths.size() + 1;
            reading.text = std::move(word);
            reading.widths.clear();
            return reading;
        }
        reading.widths.push_back(width.value);
    }
    if (reading.widths.empty()) {
        reading.problem = PlainNumberProblem::Empty;
        reading.index = 1;
    }
    return reading;
}

std::string normaliseWidthList(std::string_view text) {
    const std::string folded = foldedList(text);
    std::string normal;
    for (const std::string& word : widthWords(folded)) {
        normal += normal.empty() ? "" : " ";
        normal += word;
    }
    if (!normal.empty() && kWidthSeparators.find(folded.back()) != std::string_view::npos) {
        normal += ' ';
    }
    return normal;
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
