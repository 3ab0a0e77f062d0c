// Any bytes as the batch tool's CSV input, through the streaming reader and
// through a whole CSV batch run of the five actions.
//
// The reader must give the same records and the same verdict however the
// bytes arrive (all at once, or a byte at a time into a small buffer); a
// record limit must stop it only at a record that is really longer; records
// written back as CSV read back unchanged. A batch run ends in one of its
// statuses without throwing, and what it wrote is well-formed CSV with the
// header's 40 columns in every row.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch.h"
#include "byte_stream.h"
#include "csv.h"
#include "fuzz_support.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet.h"

namespace {

using kalvitra::cli::CsvReader;
using kalvitra::cli::StringSource;
using kalvitra::fuzz::fail;
using kalvitra::fuzz::require;

struct Record {
    std::vector<std::string> fields;
    std::vector<std::size_t> fieldLines;
    std::size_t line = 0;

    // What a record limit measures: the fields' bytes and the commas
    // between them.
    std::size_t size() const {
        std::size_t total = fields.size() - 1;
        for (const std::string& field : fields) {
            total += field.size();
        }
        return total;
    }
    std::size_t textSize() const { return size() - (fields.size() - 1); }
    friend bool operator==(const Record&, const Record&) = default;
};

struct Reading {
    std::vector<Record> records;
    CsvReader::Result last = CsvReader::Result::End;
    std::size_t errorLine = 0;
    std::string errorProblem;
};

// Inputs are at most libFuzzer's max_len; this bounds a loop that failed to
// make progress.
constexpr std::size_t kMaxRecords = 1 << 20;

Reading readRecords(std::string_view input, std::size_t chunkSize, std::size_t maxPiece,
                    std::size_t maxRecordSize) {
    StringSource source(input, maxPiece);
    CsvReader reader(source, chunkSize, maxRecordSize);
    Reading reading;
    for (;;) {
        const CsvReader::Result result = reader.next();
        if (result != CsvReader::Result::Record) {
            reading.last = result;
            break;
        }
        require(reading.records.size() < kMaxRecords, "the reader does not come to an end", input);
        Record record;
        record.line = reader.recordLine();
        require(reader.fieldCount() >= 1, "a record without fields", input);
        for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
            record.fields.emplace_back(reader.field(i));
            record.fieldLines.push_back(reader.fieldLine(i));
        }
        reading.records.push_back(std::move(record));
    }
    if (reading.last == CsvReader::Result::Malformed) {
        reading.errorLine = reader.error().line;
        reading.errorProblem = reader.error().problem;
        require(reading.errorLine >= 1, "a malformed input without a line", input);
        require(!reading.errorProblem.empty(), "a malformed input without a reason", input);
        require(reader.next() == CsvReader::Result::Malformed,
                "the reader carried on after a malformed record", input);
    } else {
        require(reader.next() == CsvReader::Result::End, "the reader carried on after the end",
                input);
    }
    return reading;
}

std::string writeRecords(const std::vector<Record>& records) {
    // The reader skips one byte order mark at the very start; written first,
    // it keeps a first field that itself begins with one.
    std::string out = "\xEF\xBB\xBF";
    for (const Record& record : records) {
        if (record.fields.size() == 1 && record.fields[0].empty()) {
            out += "\"\"";  // an empty line would be skipped, not read as a record
        }
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            kalvitra::cli::appendCsvField(out, record.fields[i]);
        }
        out += '\n';
    }
    return out;
}

void checkReader(std::string_view input) {
    const Reading whole = readRecords(input, CsvReader::kDefaultChunkSize, std::string_view::npos,
                                      CsvReader::kDefaultMaxRecordSize);
    for (const Record& record : whole.records) {
        for (std::size_t line : record.fieldLines) {
            require(line >= record.line, "a field starts before its record", input);
        }
    }

    const Reading trickle = readRecords(input, 4, 1, CsvReader::kDefaultMaxRecordSize);
    require(trickle.records == whole.records && trickle.last == whole.last &&
                trickle.errorLine == whole.errorLine && trickle.errorProblem == whole.errorProblem,
            "the reader's result depends on how the bytes arrive", input);

    constexpr std::size_t kSmallLimit = 64;
    const Reading limited = readRecords(input, 16, 7, kSmallLimit);
    require(limited.records.size() <= whole.records.size() &&
                std::equal(limited.records.begin(), limited.records.end(), whole.records.begin()),
            "a record limit changed the records before it", input);
    for (const Record& record : limited.records) {
        require(record.textSize() <= kSmallLimit, "a record beyond the limit was taken", input);
    }
    if (limited.records.size() < whole.records.size()) {
        require(limited.last == CsvReader::Result::Malformed &&
                    whole.records[limited.records.size()].size() > kSmallLimit,
                "the record limit stopped the reader at a record within the limit", input);
    } else {
        require(limited.last == whole.last, "a record limit changed how the input ends", input);
    }

    if (whole.last == CsvReader::Result::End) {
        const std::string written = writeRecords(whole.records);
        const Reading again = readRecords(written, CsvReader::kDefaultChunkSize,
                                          std::string_view::npos, CsvReader::kDefaultMaxRecordSize);
        require(again.last == CsvReader::Result::End, "records written as CSV do not read back",
                written);
        require(again.records.size() == whole.records.size(),
                "records written as CSV read back as another number of records", written);
        for (std::size_t i = 0; i < again.records.size(); ++i) {
            require(again.records[i].fields == whole.records[i].fields,
                    "records written as CSV read back changed", written);
        }
    }
}

bool isErrorKindName(std::string_view name) {
    for (auto kind : {kalvitra::ErrorKind::TypeMismatch, kalvitra::ErrorKind::Overflow,
                      kalvitra::ErrorKind::DivisionByZero, kalvitra::ErrorKind::InvalidOperation,
                      kalvitra::ErrorKind::InvalidArgument}) {
        if (kalvitra::errorKindName(kind) == name) {
            return true;
        }
    }
    return false;
}

void checkBatch(std::string_view input) {
    StringSource source(input);
    kalvitra::cli::StringSink sink;
    std::string diagnostics;
    int status = -1;
    try {
        status = kalvitra::cli::runCsvBatch(source, sink, kalvitra::kAllActions, diagnostics);
    } catch (...) {
        fail("the CSV batch run threw", input);
    }
    require(status == kalvitra::cli::kExitSuccess ||
                status == kalvitra::cli::kExitCalculationFailed ||
                status == kalvitra::cli::kExitBadInput,
            "the CSV batch run ended with an unknown status", input);
    require(status == kalvitra::cli::kExitSuccess || !diagnostics.empty(),
            "a failed CSV batch run without a message", input);
    if (sink.text().empty()) {
        require(status == kalvitra::cli::kExitBadInput, "a CSV batch run gave no header", input);
        return;
    }

    const Reading output = readRecords(sink.text(), CsvReader::kDefaultChunkSize,
                                       std::string_view::npos, CsvReader::kDefaultMaxRecordSize);
    require(output.last == CsvReader::Result::End, "the CSV batch output is malformed",
            sink.text());
    require(!output.records.empty(), "the CSV batch output has no header", sink.text());
    const std::vector<std::string>& header = output.records[0].fields;
    require(header.size() == kalvitra::kFieldCount + 1 && header.back() == "error",
            "the CSV batch output header is not the 39 fields and the error column", sink.text());
    for (const Record& row : output.records) {
        require(row.fields.size() == header.size(), "a CSV batch output row has another width",
                sink.text());
        if (&row != &output.records[0]) {
            const std::string& error = row.fields.back();
            require(error.empty() || isErrorKindName(error),
                    "a CSV batch output row names no known error kind", error);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkReader(input);
    checkBatch(input);
    return 0;
}
