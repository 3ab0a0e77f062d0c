#include "batch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "csv.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/lenient_reading.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::cli {
namespace {

// Runs the actions in order; the first error stops them and is returned.
std::optional<CalcError> runActions(std::span<const Action> actions, Sheet& sheet) {
    try {
        for (const Action action : actions) {
            runAction(action, sheet);
        }
    } catch (const CalcError& error) {
        return error;
    }
    return std::nullopt;
}

// "1 field", "3 fields".
std::string countOf(std::size_t count, std::string_view noun) {
    std::string text = std::to_string(count) + ' ' + std::string(noun);
    if (count != 1) {
        text += 's';
    }
    return text;
}

void appendLine(std::string& diagnostics, std::string_view line) {
    diagnostics.append(line);
    diagnostics += '\n';
}

// Output is handed on in pieces of about this size: large enough that the
// system calls don't count, small enough to keep memory flat.
constexpr std::size_t kOutputChunkSize = 64 * 1024;

constexpr std::string_view kErrorColumn = "error";
constexpr std::string_view kErrorColumnLabel = "错误";

// Collects output and hands it on in pieces of about kOutputChunkSize.
// Rows are written straight into its storage, which grows only for a row
// larger than everything seen before.
class OutputBuffer {
public:
    explicit OutputBuffer(ByteSink& sink) : sink_(sink), storage_(2 * kOutputChunkSize) {}

    // Room for count characters at the returned place; commit what was used.
    char* reserve(std::size_t count) {
        if (storage_.size() - used_ < count) {
            flush();
            if (storage_.size() < count) {
                storage_.resize(count);
            }
        }
        return storage_.data() + used_;
    }
    void commit(const char* end) {
        used_ = static_cast<std::size_t>(end - storage_.data());
        if (used_ >= kOutputChunkSize) {
            flush();
        }
    }
    void flush() {
        sink_.write(std::string_view(storage_.data(), used_));
        used_ = 0;
    }

private:
    ByteSink& sink_;
    std::vector<char> storage_;
    std::size_t used_ = 0;
};

void writeCsvHeader(OutputBuffer& out, const BatchOptions& options) {
    const bool labels = options.header == HeaderWords::ChineseLabels;
    std::string header(options.byteOrderMark ? kByteOrderMark : "");
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        appendCsvField(header, labels ? fieldLabel(fieldAt(i)) : fieldName(fieldAt(i)));
        header += ',';
    }
    header.append(labels ? kErrorColumnLabel : kErrorColumn);
    header += '\n';
    char* const place = out.reserve(header.size());
    out.commit(std::copy(header.begin(), header.end(), place));
}

void writeCsvRow(const Sheet& sheet, std::string_view errorText, OutputBuffer& out) {
    std::size_t longest = errorText.size() + 1;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        longest += maxCsvFieldLength(sheet.textRef(fieldAt(i)).size()) + 1;
    }
    char* place = out.reserve(longest);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        place = writeCsvField(place, sheet.textRef(fieldAt(i)));
        *place++ = ',';
    }
    place = std::copy(errorText.begin(), errorText.end(), place);
    *place++ = '\n';
    out.commit(place);
}

// Maps the header's columns to fields; nullopt (with the reason in problem)
// for an unknown or repeated column.
std::optional<std::vector<Field>> readCsvHeader(const CsvReader& reader, InputError& problem) {
    std::vector<Field> columns;
    std::array<bool, kFieldCount> seen{};
    for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
        const std::string_view name = reader.field(i);
        std::optional<Field> field = fieldByName(name);
        if (!field) {
            field = fieldByLabel(name);
        }
        if (!field) {
            problem = {reader.fieldLine(i), "unknown column " + quoteForMessage(name)};
            return std::nullopt;
        }
        if (seen[indexOf(*field)]) {
            std::string twice = "column " + std::string(name) + " given twice";
            if (name != fieldName(*field)) {
                twice += " (it is " + std::string(fieldName(*field)) + ")";
            }
            problem = {reader.fieldLine(i), std::move(twice)};
            return std::nullopt;
        }
        seen[indexOf(*field)] = true;
        columns.push_back(*field);
    }
    return columns;
}

// "error: KIND: MESSAGE", the line for a sheet that is not calculated whole.
std::string errorLine(std::string_view kind, std::string_view message) {
    return "error: " + std::string(kind) + ": " + std::string(message);
}

// Whether a line that is no NAME=TEXT line names fields like a table's
// header: "D,PK1,PK2" or "铁心直径(mm),第一级 片宽".
bool looksLikeCsvHeader(std::string_view line) {
    StringSource source(line);
    CsvReader reader(source);
    if (reader.next() != CsvReader::Result::Record) {
        return false;
    }
    for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
        if (!fieldByName(reader.field(i)) && !fieldByLabel(reader.field(i))) {
            return false;
        }
    }
    return true;
}

// Why the reader stopped, and for a table that is not UTF-8 what to do about
// it and how many rows were already written.
InputError readingProblem(const CsvReader& reader, std::size_t rowsWritten) {
    InputError problem = reader.error();
    if (reader.invalidUtf8()) {
        problem.problem += " (the table must be UTF-8: save it as \"CSV UTF-8\")";
        if (rowsWritten > 0) {
            problem.problem += "; " + countOf(rowsWritten, "row") + " before it already written";
        }
    }
    return problem;
}

// The head of a table without the start of a UTF-8 sequence that the end of
// the look-ahead cut off: its other bytes are still to come.
std::string_view withoutCutSequence(std::string_view head) {
    std::size_t lead = head.size();
    while (lead > 0 && head.size() - lead < 4 &&
           (static_cast<unsigned char>(head[lead - 1]) & 0xC0) == 0x80) {
        --lead;
    }
    if (lead == 0) {
        return head;
    }
    const auto first = static_cast<unsigned char>(head[lead - 1]);
    // Only these bytes start a sequence of two, three or four bytes.
    const std::size_t length = first >= 0xF5   ? 1
                               : first >= 0xF0 ? 4
                               : first >= 0xE0 ? 3
                               : first >= 0xC2 ? 2
                                               : 1;
    return head.size() - (lead - 1) < length ? head.substr(0, lead - 1) : head;
}

// The first problem a reader meets in a table whose head is not UTF-8: its
// invalid byte, or a malformed line before it.
InputError firstReadingProblem(ByteSource& table) {
    CsvReader reader(table);
    while (reader.next() == CsvReader::Result::Record) {
    }
    return readingProblem(reader, 0);
}

// Reports a malformed table in its one line; the status of bad input.
int reportMalformed(std::string& diagnostics, const InputError& problem) {
    appendLine(diagnostics, "kalvitra-cli: " + problem.describe());
    return kExitBadInput;
}

// The fields of the table's columns from its header row; nullopt (with the
// reason in problem) for a table without one, malformed before its end, or
// with an unknown or repeated column.
std::optional<std::vector<Field>> readTableHeader(CsvReader& reader, InputError& problem) {
    switch (reader.next()) {
        case CsvReader::Result::Malformed:
            problem = readingProblem(reader, 0);
            return std::nullopt;
        case CsvReader::Result::End:
            problem = {1, "no header row: the input is empty"};
            return std::nullopt;
        case CsvReader::Result::Record:
            break;
    }
    return readCsvHeader(reader, problem);
}

// The rows of a table so far: how many, how many failed, and the line of
// the first failure.
struct RowTally {
    std::size_t rows = 0;
    std::size_t failed = 0;
    std::string firstFailure;

    // Counts a row at line that failed with kind; the kind, for its error
    // column.
    std::string_view fail(std::size_t line, std::string_view kind, std::string_view message) {
        if (failed++ == 0) {
            firstFailure = "line " + std::to_string(line) + ": " + errorLine(kind, message);
        }
        return kind;
    }
};

// The sheet of the reader's row, calculated: the row's fields over the
// initial sheet, then the actions unless a lenient reading refuses it. The
// kind of the error that stopped it, for the error column; empty when none.
std::string_view calculateRow(const CsvReader& reader, const std::vector<Field>& columns,
                              std::span<const Action> actions, const BatchOptions& options,
                              Sheet& sheet, RowTally& tally, std::string& diagnostics) {
    sheet.reset();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sheet.setText(columns[i], reader.field(i));
    }
    if (const std::optional<std::string> refusal = reportLenientReadings(
            sheet, actions, options.strict, reader.recordLine(), diagnostics)) {
        return tally.fail(reader.recordLine(), kLenientInputKind, *refusal);
    }
    if (const std::optional<CalcError> error = runActions(actions, sheet)) {
        return tally.fail(reader.recordLine(), errorKindName(error->kind()), error->what());
    }
    return {};
}

// Writes a row to buffer for each record of the table after its header,
// until its end or its first malformed line; the status: success, or bad
// input at that line. The messages go to options.messages, when there is
// one, as they pile up.
int writeTableRows(CsvReader& reader, const std::vector<Field>& columns,
                   std::span<const Action> actions, const BatchOptions& options,
                   OutputBuffer& buffer, RowTally& tally, std::string& diagnostics) {
    Sheet sheet;
    for (;;) {
        const CsvReader::Result result = reader.next();
        if (result == CsvReader::Result::End) {
            return kExitSuccess;
        }
        if (result == CsvReader::Result::Malformed) {
            return reportMalformed(diagnostics, readingProblem(reader, tally.rows));
        }
        if (reader.fieldCount() != columns.size()) {
            return reportMalformed(
                diagnostics,
                {reader.recordLine(), "row has " + countOf(reader.fieldCount(), "field") +
                                          ", the header has " + std::to_string(columns.size())});
        }
        ++tally.rows;
        const std::string_view errorText =
            calculateRow(reader, columns, actions, options, sheet, tally, diagnostics);
        writeCsvRow(sheet, errorText, buffer);
        if (options.messages != nullptr && diagnostics.size() >= kOutputChunkSize) {
            options.messages->write(diagnostics);
            diagnostics.clear();
        }
    }
}

}  // namespace

std::optional<std::string> reportLenientReadings(const SheetAccess& sheet,
                                                 std::span<const Action> actions, bool strict,
                                                 std::size_t line, std::string& diagnostics) {
    std::optional<std::string> refusal;
    for (const LenientFinding& finding : findLenientReadings(sheet, actions)) {
        std::string message = describeFinding(finding);
        const std::string where = line == 0 ? "" : "line " + std::to_string(line) + ": ";
        appendLine(diagnostics, strict ? errorLine(kLenientInputKind, where + message)
                                       : "warning: " + where + message);
        if (strict && !refusal) {
            refusal = std::move(message);
        }
    }
    return refusal;
}

std::string describeCalcError(const CalcError& error) {
    return errorLine(errorKindName(error.kind()), error.what());
}

int runSheetBatch(std::string_view input, std::span<const Action> actions, std::string& output,
                  std::string& diagnostics, const BatchOptions& options) {
    Sheet sheet;
    if (const std::optional<SheetTextError> problem = readSheetLines(input, sheet)) {
        std::string line = "kalvitra-cli: " + problem->describe();
        if (problem->kind == SheetTextProblem::MissingEquals &&
            looksLikeCsvHeader(problem->subject)) {
            line += " (a CSV table? use --csv)";
        }
        appendLine(diagnostics, line);
        return kExitBadInput;
    }
    if (reportLenientReadings(sheet, actions, options.strict, 0, diagnostics)) {
        appendSheetLines(sheet, output);  // as read: refused, not calculated
        return kExitCalculationFailed;
    }
    const std::optional<CalcError> error = runActions(actions, sheet);
    appendSheetLines(sheet, output);
    if (error) {
        appendLine(diagnostics, describeCalcError(*error));
        return kExitCalculationFailed;
    }
    return kExitSuccess;
}

int runCsvBatch(ByteSource& input, ByteSink& output, std::span<const Action> actions,
                std::string& diagnostics, const BatchOptions& options) {
    // A spreadsheet's "CSV" on a Chinese desktop is GBK. Found only when the
    // reader comes to its first Chinese text, it would leave the rows before
    // it written; the look-ahead finds it first when it is in the first rows.
    // A table read whole within it is checked to its last byte.
    const std::string head = readAtMost(input, options.lookAhead);
    const bool whole = head.size() < options.lookAhead;
    ReadAheadSource table(head, input);
    if (!isValidUtf8(whole ? std::string_view(head) : withoutCutSequence(head))) {
        return reportMalformed(diagnostics, firstReadingProblem(table));
    }
    CsvReader reader(table);

    InputError headerProblem;
    const std::optional<std::vector<Field>> columns = readTableHeader(reader, headerProblem);
    if (!columns) {
        return reportMalformed(diagnostics, headerProblem);
    }

    OutputBuffer buffer(output);
    writeCsvHeader(buffer, options);
    RowTally tally;
    int status = writeTableRows(reader, *columns, actions, options, buffer, tally, diagnostics);
    buffer.flush();
    output.flush();

    // A malformed table is reported alone, in one line; the rows that failed
    // before it say so in their error column.
    if (tally.failed > 0 && status == kExitSuccess) {
        appendLine(diagnostics, "kalvitra-cli: " + std::to_string(tally.failed) + " of " +
                                    countOf(tally.rows, "row") + " failed; first at " +
                                    tally.firstFailure);
        status = kExitCalculationFailed;
    }
    return status;
}

}  // namespace kalvitra::cli
