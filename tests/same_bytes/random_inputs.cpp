#include "random_inputs.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "kalvitra/sheet/sheet.h"

namespace kalvitra::testing {
namespace {

using namespace std::string_literals;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Texts that have broken or could break number reading, writing or the
// readers: blanks inside, digit-group commas, exponents at and past the
// ends of the double range, full-width and Arabic-Indic digits, Ctrl-Z
// (the end of a text file to the Windows C runtime), NUL, a byte order mark
// inside, quotes. All valid UTF-8: the readers refuse anything else, which
// the inputs get only now and then (kInvalidUtf8), so most of them are
// calculated.
const std::vector<std::string> kHostileNumbers = {
    "",
    " ",
    "\t200",
    "200 ",
    "2 00",
    "1,5",
    "1,234.5",
    "+.5",
    ".",
    "-",
    "+",
    "-0",
    "1E400",
    "-1e400",
    "1e-400",
    "1E+308",
    "1.7976931348623157e308",
    "1.7976931348623159e308",
    "4.9e-324",
    "2.4703282292062327e-324",
    "2.4703282292062328e-324",
    "1e",
    "1e+",
    "0x1A",
    "inf",
    "nan",
    "Infinity",
    "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93",  // full-width 123
    "\xD9\xA3",                              // Arabic-Indic 3
    "1.5E-3",
    "12.5mm",
    "0000.00",
    "00062.45",
    "9999999999999999999999",
    "0.1e1",
    "3.14159265358979323846264338327950288",
    "1e99999999999999999999",
    "0.000000000000000000000000000000000000000001e42",
    "2.675",
    "0.125",
    "62.449979983984",
    "-3.456",
    "1\x1A"
    "2",
    "\x1A",
    "1\0"s + "2",
    "\xEF\xBB\xBF"
    "12",
    "12\"",
    "\"12\"",
    "1,5,",
    "\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8",
    "1\r",
    "\r1",
};

const std::vector<std::string> kFreeTexts = {
    "S11-M \xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8",
    "Model \"A\", rev 2",
    "a,b,c",
    "\"",
    "\"\"",
    "x\ry",
    "tab\there",
    "\x1A",
    "\xEF\xBB\xBF",
    "\xF0\x9F\x94\x8C",
    "=",
    "==x=",
    "  ",
    "",
};

const std::vector<std::string> kInvalidUtf8 = {
    "\xFF"
    "12",
    "12\xC3",
    "\xB1\xE4",
    "\xC0\xAF",          // overlong '/'
    "\xED\xA0\x80",      // surrogate
    "\xF4\x90\x80\x80",  // past U+10FFFF
};

const std::vector<std::string> kGoodActions = {"stages", "gross-area", "net-area", "stack",
                                               "weight"};

const std::vector<std::string> kOddWords = {"Stages",
                                            "area",
                                            "/csv",
                                            "/help",
                                            "-x",
                                            "--",
                                            "-",
                                            "--csv=1",
                                            "stages,stack",
                                            "\xE5\x85\xA8\xE9\x83\xA8",
                                            "\xEF\xBD\x93tages",
                                            "",
                                            " ",
                                            "a b",
                                            "\"q\"",
                                            "back\\slash\\",
                                            "C:\\x\\",
                                            "%PATH%",
                                            "$HOME",
                                            "*",
                                            "?"};

std::string_view nameOf(std::size_t index) {
    return fieldName(fieldAt(index));
}

// Hundredths written as a plain decimal with 0..2 decimals: 12345 -> "123.45".
std::string decimal(std::uint64_t hundredths, std::uint64_t decimals) {
    std::string text = std::to_string(hundredths / 100);
    if (decimals > 0) {
        const std::uint64_t cents = hundredths % 100;
        text += '.';
        text += static_cast<char>('0' + cents / 10);
        if (decimals > 1) {
            text += static_cast<char>('0' + cents % 10);
        }
    }
    return text;
}

}  // namespace

std::string RandomInputs::lineEnd() {
    switch (below(8)) {
        case 0:
        case 1:
            return "\r\n";
        case 2:
            return oneIn(4) ? "\r" : "\n";  // a lone CR is kept in the text
        default:
            return "\n";
    }
}

std::string RandomInputs::numberText() {
    if (oneIn(3)) {
        return pick(kHostileNumbers);
    }
    std::string text = oneIn(10) ? "-" : "";
    text += decimal(below(200'000), below(3));
    if (oneIn(6)) {
        text += oneIn(2) ? "E" : "e";
        text += oneIn(2) ? "-" : "+";
        text += std::to_string(below(330));
    }
    return text;
}

std::string RandomInputs::word() {
    return oneIn(2) ? pick(kOddWords) : pick(kGoodActions) + pick(kOddWords);
}

std::vector<std::string> RandomInputs::actionNames() {
    std::vector<std::string> names;
    if (oneIn(2)) {  // in the order a designer runs them, some left out
        for (const std::string& name : kGoodActions) {
            if (!oneIn(4)) {
                names.push_back(name);
            }
        }
    }
    for (std::uint64_t i = 0, count = names.empty() ? 1 + below(6) : 0; i < count; ++i) {
        names.push_back(oneIn(40) ? word() : pick(kGoodActions));
    }
    return names;
}

// The text of one field in a design of the given diameter (in hundredths):
// a plausible number mostly, a hostile text sometimes.
std::string RandomInputs::fieldText(std::string_view name, std::uint64_t diameter) {
    if (oneIn(12)) {
        return oneIn(2) ? pick(kHostileNumbers) : pick(kFreeTexts);
    }
    if (name == "Text1" || name == "Text2" || name == "TXJS") {
        return pick(kFreeTexts) + std::to_string(below(1000));
    }
    if (name == "D") {
        return decimal(diameter, below(3));
    }
    if (name == "H" || name == "M") {
        return decimal(10'000 + below(300'000), below(3));
    }
    if (name == "Z") {
        return std::to_string(1 + below(3));
    }
    if (name == "MD") {
        return decimal(700 + below(150), 2);
    }
    if (name == "dpxs") {
        return "0." + std::to_string(900 + below(90));
    }
    return numberText();  // a result field given a text of its own
}

std::string RandomInputs::sheet() {
    std::string text = oneIn(4) ? std::string(kByteOrderMark) : "";
    const std::uint64_t diameter = 8'000 + below(112'000);
    // Widths below the diameter, narrowing stage by stage; now and then one
    // past it, which stops the stages with a negative square root.
    std::vector<std::pair<std::string, std::string>> lines;
    std::uint64_t width = diameter;
    const std::uint64_t stages = 1 + below(9);
    for (std::uint64_t stage = 1; stage <= stages; ++stage) {
        width = oneIn(30) ? diameter + 1 + below(1000) : width * (70 + below(29)) / 100;
        std::string value = oneIn(15) ? numberText() : decimal(width, below(3));
        lines.emplace_back("PK" + std::to_string(stage), value);
    }
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        const std::string_view name = nameOf(index);
        if (name.starts_with("PK")) {
            continue;
        }
        const bool always =
            name == "D" || name == "dpxs" || name == "H" || name == "M" || name == "Z";
        if ((always && !oneIn(20)) || oneIn(8)) {
            lines.emplace_back(std::string(name), fieldText(name, diameter));
        }
    }
    for (std::size_t i = lines.size(); i > 1; --i) {  // shuffled
        std::swap(lines[i - 1], lines[below(i)]);
    }
    for (const auto& [name, value] : lines) {
        if (oneIn(25)) {
            text += oneIn(2) ? "" : " \t";  // lines that are ignored
            text += lineEnd();
        }
        text += name + "=" + value;
        text += lineEnd();
    }
    // One line in 30 sheets that the reader refuses.
    if (oneIn(30)) {
        const std::vector<std::string> faults = {
            "Diameter=200", "PK1:190", "D=1", "d=2", "Text1=" + pick(kInvalidUtf8), "=5", "PK10=1"};
        text.insert(oneIn(2) ? 0 : text.size(), pick(faults) + lineEnd());
    }
    if (oneIn(5) && text.ends_with('\n')) {
        text.pop_back();  // no line end after the last line
    }
    return text;
}

std::string RandomInputs::csvValue(std::string_view name, std::uint64_t diameter) {
    return oneIn(40) ? pick(kFreeTexts) : fieldText(name, diameter);
}

std::string RandomInputs::csvTable(int rows) {
    std::string text = oneIn(4) ? std::string(kByteOrderMark) : "";
    const bool crlf = oneIn(2);
    const std::string end = crlf ? "\r\n" : "\n";

    // The header: D and some widths, and any of the other fields, shuffled.
    std::vector<std::string> columns = {"D"};
    const std::uint64_t stages = 1 + below(9);
    for (std::uint64_t stage = 1; stage <= stages; ++stage) {
        columns.push_back("PK" + std::to_string(stage));
    }
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        const std::string name(nameOf(index));
        if (name != "D" && !name.starts_with("PK") && oneIn(3)) {
            columns.push_back(name);
        }
    }
    for (std::size_t i = columns.size(); i > 1; --i) {
        std::swap(columns[i - 1], columns[below(i)]);
    }
    if (oneIn(40)) {
        columns.push_back(oneIn(2) ? "diameter" : columns.front());  // a bad header
    }
    auto appendField = [&](std::string& line, const std::string& value) {
        const bool needsQuotes = value.find_first_of(",\"\r\n") != std::string::npos;
        if (needsQuotes || oneIn(8)) {
            line += '"';
            for (const char c : value) {
                line.append(c == '"' ? 2 : 1, c);
            }
            line += '"';
        } else {
            line += value;
        }
    };
    std::string header;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        header += i == 0 ? "" : ",";
        // Now and then a column headed by the field's Chinese label, as a
        // spreadsheet user on a Chinese desktop heads it.
        const std::optional<Field> field = fieldByName(columns[i]);
        appendField(header, field && oneIn(4) ? std::string(fieldLabel(*field)) : columns[i]);
    }
    text += header + end;

    const int malformedAt =
        oneIn(8) ? static_cast<int>(below(static_cast<std::uint64_t>(rows))) : -1;
    for (int row = 0; row < rows; ++row) {
        if (row == malformedAt) {
            const std::vector<std::string> faults = {"1,2",  "\"open,5",         "\"6\"7",
                                                     "1\r2", pick(kInvalidUtf8), "a\"b"};
            text += pick(faults) + end;
        }
        if (oneIn(30)) {
            text += end;  // an empty line, skipped
        }
        const std::uint64_t diameter = 8'000 + below(112'000);
        std::uint64_t width = diameter;
        std::string line;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            line += i == 0 ? "" : ",";
            std::string value;
            if (columns[i].starts_with("PK")) {
                width = oneIn(40) ? diameter + 1 : width * (70 + below(29)) / 100;
                value = oneIn(20) ? numberText() : decimal(width, below(3));
            } else {
                value = csvValue(columns[i], diameter);
            }
            if (oneIn(60)) {
                value += oneIn(2) ? "\n" : "\r\n";  // a line break inside quotes
            }
            appendField(line, value);
        }
        text += line;
        if (row + 1 < rows || !oneIn(4)) {
            text += end;
        }
    }
    return text;
}

std::string RandomInputs::bytes() {
    const std::vector<std::string> pieces = {
        "D",    "PK1",  "jh1",  "MD",  "Text1", "=", ",",  "\"",    "\r\n",
        "\r",   "\n",   "\x1A", "\0"s, " ",     "7", ".5", "1E400", std::string(kByteOrderMark),
        "\xFF", "\xC3", "\xA9"};
    std::string text;
    for (std::uint64_t i = 0, count = below(200); i < count; ++i) {
        text += oneIn(3) ? std::string(1, static_cast<char>(below(256))) : pick(pieces);
    }
    return text;
}

}  // namespace kalvitra::testing
