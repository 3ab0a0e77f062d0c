#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "kalvitra/text/input_error.h"

// Streaming CSV after RFC 4180: fields separated by commas, records by LF or
// CRLF; a field in double quotes may hold commas, line breaks and doubled
// quotes. The reader holds one record at a time, so memory stays flat however
// many rows come through.

namespace kalvitra::cli {

class CsvReader {
public:
    static constexpr std::size_t kDefaultChunkSize = 64 * 1024;
    // A record this long can only be a quote left open that swallows the rest
    // of the input; refusing it keeps memory bounded.
    static constexpr std::size_t kDefaultMaxRecordSize = 64 * 1024 * 1024;

    explicit CsvReader(ByteSource& source, std::size_t chunkSize = kDefaultChunkSize,
                       std::size_t maxRecordSize = kDefaultMaxRecordSize);

    enum class Result { Record, End, Malformed };

    // Reads the next record. A UTF-8 byte order mark at the very start is
    // skipped; empty lines are skipped (a one-column record with an empty
    // value is written ""). The line break after the last record is optional.
    // Malformed: invalid UTF-8, a quote that is never closed, text after a
    // closing quote, a quote inside an unquoted field, a carriage return
    // outside quotes that is not part of CRLF, an over-long record. After
    // Malformed, error() tells why and every further call returns Malformed.
    Result next();

    std::size_t fieldCount() const { return fieldEnds_.size(); }
    std::string_view field(std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : fieldEnds_[index - 1];
        return {record_.data() + begin, fieldEnds_[index] - begin};
    }
    // Input line on which a field starts, and on which the record starts.
    std::size_t fieldLine(std::size_t index) const { return fieldLines_[index]; }
    std::size_t recordLine() const { return recordLine_; }

    const InputError& error() const { return error_; }
    // Whether the record that was malformed is not UTF-8.
    bool invalidUtf8() const { return invalidUtf8_; }

private:
    enum class FieldEnd { Comma, LineEnd, EndOfInput, Malformed };

    bool available();
    void fillAtLeast(std::size_t count);
    void skipByteOrderMark();
    bool skipEmptyLines();
    FieldEnd readUnquoted();
    FieldEnd readQuoted();
    FieldEnd afterCarriageReturn();
    // What follows a field: a comma, the end of its line, or a fault named by
    // problem.
    FieldEnd separatorAfterField(const char* problem);
    bool withinSizeLimit();
    bool appendChecked(const char* bytes, std::size_t count);
    bool checkUtf8();
    Result fail(std::size_t line, std::string problem);

    ByteSource& source_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool sourceDone_ = false;
    bool started_ = false;
    bool failed_ = false;
    std::size_t maxRecordSize_;
    std::size_t line_ = 1;

    std::string record_;  // the fields' texts, one after the other
    std::vector<std::size_t> fieldEnds_;
    std::vector<std::size_t> fieldLines_;
    std::size_t recordLine_ = 0;
    InputError error_;
    bool invalidUtf8_ = false;
};

// Writes text as one CSV field, in quotes (inner quotes doubled) only when it
// holds a comma, a quote, CR or LF, and returns the end of what it wrote. out
// must have room for maxCsvFieldLength(text.size()) characters.
char* writeCsvField(char* out, std::string_view text);

constexpr std::size_t maxCsvFieldLength(std::size_t textLength) {
    return 2 * textLength + 2;
}

// writeCsvField onto the end of a string.
void appendCsvField(std::string& out, std::string_view text);

}  // namespace kalvitra::cli
