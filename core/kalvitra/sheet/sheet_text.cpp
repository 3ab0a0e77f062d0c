#include "kalvitra/sheet/sheet_text.h"

#include <array>
#include <string>
#include <utility>

#include "kalvitra/text/utf8.h"

namespace kalvitra {
namespace {

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Line where each field was given, 0 while it was not.
using GivenOnLine = std::array<std::size_t, kFieldCount>;

// The next line of input, without its line feed and one carriage return
// before it; input is left after its line feed.
std::string_view takeLine(std::string_view& input) {
    const std::size_t lineEnd = input.find('\n');
    std::string_view line = input.substr(0, lineEnd);
    input.remove_prefix(lineEnd == std::string_view::npos ? input.size() : lineEnd + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

SheetTextError problemAt(std::size_t lineNumber, SheetTextProblem kind, std::string problem) {
    SheetTextError error;
    error.line = lineNumber;
    error.problem = std::move(problem);
    error.kind = kind;
    return error;
}

// Reads line, the input's line lineNumber, into sheet: its field's text,
// unless the line is blank. The problem that refuses it, if any.
std::optional<SheetTextError> readSheetLine(std::string_view line, std::size_t lineNumber,
                                            GivenOnLine& givenOnLine, Sheet& sheet) {
    if (const std::size_t bad = findInvalidUtf8(line); bad != std::string_view::npos) {
        SheetTextError error =
            problemAt(lineNumber, SheetTextProblem::InvalidUtf8,
                      "invalid UTF-8 at byte " + std::to_string(bad + 1) + " of the line");
        error.byte = bad + 1;
        return error;
    }
    if (isBlank(line)) {
        return std::nullopt;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        SheetTextError error =
            problemAt(lineNumber, SheetTextProblem::MissingEquals,
                      "expected NAME=TEXT, found no '=' in " + quoteForMessage(line));
        error.subject = line;
        return error;
    }
    const std::string_view name = line.substr(0, equals);
    const std::optional<Field> field = fieldByName(name);
    if (!field) {
        SheetTextError error = problemAt(lineNumber, SheetTextProblem::UnknownField,
                                         "unknown field " + quoteForMessage(name));
        error.subject = name;
        return error;
    }
    std::size_t& firstLine = givenOnLine[indexOf(*field)];
    if (firstLine != 0) {
        SheetTextError error =
            problemAt(lineNumber, SheetTextProblem::GivenTwice,
                      "field " + std::string(name) + " given twice (first on line " +
                          std::to_string(firstLine) + ")");
        error.subject = name;
        error.firstLine = firstLine;
        return error;
    }
    firstLine = lineNumber;
    sheet.setText(*field, line.substr(equals + 1));
    return std::nullopt;
}

}  // namespace

std::optional<SheetTextError> readSheetLines(std::string_view input, Sheet& sheet) {
    if (input.starts_with(kByteOrderMark)) {
        input.remove_prefix(kByteOrderMark.size());
    }
    GivenOnLine givenOnLine{};
    std::size_t lineNumber = 0;
    while (!input.empty()) {
        ++lineNumber;
        const std::string_view line = takeLine(input);
        if (std::optional<SheetTextError> problem =
                readSheetLine(line, lineNumber, givenOnLine, sheet)) {
            return problem;
        }
    }
    return std::nullopt;
}

void appendSheetLines(const Sheet& sheet, std::string& out) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Field field = fieldAt(i);
        out.append(fieldName(field));
        out += '=';
        out.append(sheet.textRef(field));
        // The reader drops one carriage return before the line feed; a text
        // that itself ends in one gets a second, so that it reads back whole.
        if (sheet.textRef(field).ends_with('\r')) {
            out += '\r';
        }
        out += '\n';
    }
}

}  // namespace kalvitra
