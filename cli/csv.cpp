#include "csv.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "kalvitra/text/utf8.h"

namespace kalvitra::cli {
namespace {

// Bytes that end the plain run of an unquoted field, or that force quotes on
// output.
constexpr std::array<bool, 256> kCsvSpecial = [] {
    std::array<bool, 256> table{};
    table[static_cast<unsigned char>(',')] = true;
    table[static_cast<unsigned char>('"')] = true;
    table[static_cast<unsigned char>('\r')] = true;
    table[static_cast<unsigned char>('\n')] = true;
    return table;
}();

bool isCsvSpecial(char c) {
    return kCsvSpecial[static_cast<unsigned char>(c)];
}

}  // namespace

CsvReader::CsvReader(ByteSource& source, std::size_t chunkSize, std::size_t maxRecordSize)
    : source_(source),
      buffer_(std::max<std::size_t>(chunkSize, kByteOrderMark.size())),
      maxRecordSize_(maxRecordSize) {}

// True when at least one unread byte is in the buffer, reading more if needed.
bool CsvReader::available() {
    if (pos_ < end_) {
        return true;
    }
    if (sourceDone_) {
        return false;
    }
    pos_ = 0;
    end_ = source_.read(buffer_.data(), buffer_.size());
    if (end_ == 0) {
        sourceDone_ = true;
        return false;
    }
    return true;
}

// Gathers count unread bytes in the buffer, or all that is left of the input.
void CsvReader::fillAtLeast(std::size_t count) {
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < count && !sourceDone_) {
        const std::size_t got = source_.read(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) {
            sourceDone_ = true;
        }
        end_ += got;
    }
}

void CsvReader::skipByteOrderMark() {
    fillAtLeast(kByteOrderMark.size());
    const std::string_view head(buffer_.data() + pos_, end_ - pos_);
    if (head.starts_with(kByteOrderMark)) {
        pos_ += kByteOrderMark.size();
    }
}

CsvReader::Result CsvReader::fail(std::size_t line, std::string problem) {
    failed_ = true;
    error_ = InputError{line, std::move(problem)};
    return Result::Malformed;
}

// The size of a record counts its separators too, so that a line of nothing
// but commas cannot pile up field positions without bound either.
bool CsvReader::withinSizeLimit() {
    if (record_.size() + fieldEnds_.size() > maxRecordSize_) {
        fail(recordLine_, "row is longer than " + std::to_string(maxRecordSize_) +
                              " bytes (is a quote left open?)");
        return false;
    }
    return true;
}

bool CsvReader::appendChecked(const char* bytes, std::size_t count) {
    record_.append(bytes, count);
    return withinSizeLimit();
}

// Called on a carriage return outside quotes: only CRLF (or CR at the very
// end of the input) ends a line.
CsvReader::FieldEnd CsvReader::afterCarriageReturn() {
    ++pos_;
    if (!available()) {
        return FieldEnd::EndOfInput;
    }
    if (buffer_[pos_] != '\n') {
        fail(line_, "carriage return without line feed outside quotes");
        return FieldEnd::Malformed;
    }
    ++pos_;
    ++line_;
    return FieldEnd::LineEnd;
}

// Returns false at the end of the input.
bool CsvReader::skipEmptyLines() {
    while (available()) {
        const char c = buffer_[pos_];
        if (c == '\n') {
            ++pos_;
            ++line_;
        } else if (c == '\r') {
            const FieldEnd end = afterCarriageReturn();
            if (end == FieldEnd::Malformed) {
                return false;
            }
        } else {
            return true;
        }
    }
    return false;
}

CsvReader::FieldEnd CsvReader::readUnquoted() {
    while (available()) {
        const char* begin = buffer_.data() + pos_;
        const char* stop = buffer_.data() + end_;
        const char* p = begin;
        while (p != stop && !isCsvSpecial(*p)) {
            ++p;
        }
        if (!appendChecked(begin, static_cast<std::size_t>(p - begin))) {
            return FieldEnd::Malformed;
        }
        pos_ += static_cast<std::size_t>(p - begin);
        if (p == stop) {
            continue;
        }
        return separatorAfterField(
            "quote inside an unquoted field (put the field in quotes and double the quote)");
    }
    return FieldEnd::EndOfInput;
}

CsvReader::FieldEnd CsvReader::separatorAfterField(const char* problem) {
    switch (buffer_[pos_]) {
        case ',':
            ++pos_;
            return FieldEnd::Comma;
        case '\n':
            ++pos_;
            ++line_;
            return FieldEnd::LineEnd;
        case '\r':
            return afterCarriageReturn();
        default:
            fail(line_, problem);
            return FieldEnd::Malformed;
    }
}

CsvReader::FieldEnd CsvReader::readQuoted() {
    const std::size_t openedOnLine = line_;
    ++pos_;  // the opening quote
    for (;;) {
        if (!available()) {
            fail(openedOnLine, "quoted field is never closed");
            return FieldEnd::Malformed;
        }
        const char* begin = buffer_.data() + pos_;
        const char* stop = buffer_.data() + end_;
        const char* p = begin;
        while (p != stop && *p != '"') {
            line_ += *p == '\n' ? 1 : 0;
            ++p;
        }
        if (!appendChecked(begin, static_cast<std::size_t>(p - begin))) {
            return FieldEnd::Malformed;
        }
        pos_ += static_cast<std::size_t>(p - begin);
        if (p == stop) {
            continue;
        }
        ++pos_;  // a quote: doubled, or the closing one
        if (!available()) {
            return FieldEnd::EndOfInput;
        }
        const char next = buffer_[pos_];
        if (next == '"') {
            ++pos_;
            if (!appendChecked("\"", 1)) {
                return FieldEnd::Malformed;
            }
            continue;
        }
        return separatorAfterField("text after the closing quote of a field");
    }
}

// Field by field: a sequence cut in two by a comma is invalid in both halves.
bool CsvReader::checkUtf8() {
    if (std::all_of(record_.begin(), record_.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return true;
    }
    for (std::size_t index = 0; index < fieldCount(); ++index) {
        const std::string_view text = field(index);
        const std::size_t bad = findInvalidUtf8(text);
        if (bad != std::string_view::npos) {
            const auto breaksBefore = std::count(text.begin(), text.begin() + bad, '\n');
            invalidUtf8_ = true;
            fail(fieldLines_[index] + static_cast<std::size_t>(breaksBefore),
                 "invalid UTF-8 in field " + std::to_string(index + 1));
            return false;
        }
    }
    return true;
}

CsvReader::Result CsvReader::next() {
    if (failed_) {
        return Result::Malformed;
    }
    if (!started_) {
        started_ = true;
        skipByteOrderMark();
    }
    record_.clear();
    fieldEnds_.clear();
    fieldLines_.clear();
    if (!skipEmptyLines()) {
        return failed_ ? Result::Malformed : Result::End;
    }
    recordLine_ = line_;
    for (;;) {
        fieldLines_.push_back(line_);
        const FieldEnd end = available() && buffer_[pos_] == '"' ? readQuoted() : readUnquoted();
        if (end == FieldEnd::Malformed) {
            return Result::Malformed;
        }
        fieldEnds_.push_back(record_.size());
        if (end != FieldEnd::Comma) {
            break;
        }
        if (!withinSizeLimit()) {
            return Result::Malformed;
        }
    }
    return checkUtf8() ? Result::Record : Result::Malformed;
}

char* writeCsvField(char* out, std::string_view text) {
    // Copy as is until a byte shows that quotes are needed; most fields are
    // short numbers, so this is the only pass.
    std::size_t i = 0;
    for (; i < text.size() && !isCsvSpecial(text[i]); ++i) {
        out[i] = text[i];
    }
    if (i == text.size()) {
        return out + i;
    }
    *out++ = '"';
    for (const char c : text) {
        if (c == '"') {
            *out++ = '"';
        }
        *out++ = c;
    }
    *out++ = '"';
    return out;
}

void appendCsvField(std::string& out, std::string_view text) {
    const std::size_t oldSize = out.size();
    out.resize(oldSize + maxCsvFieldLength(text.size()));
    char* const end = writeCsvField(out.data() + oldSize, text);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace kalvitra::cli
