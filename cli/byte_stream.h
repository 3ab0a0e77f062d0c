#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Where the batch tool's bytes come from and go to: standard input and output
// in the program, strings in the tests and the fuzzing harness.

namespace kalvitra::cli {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to capacity bytes into buffer and returns how many; 0 only at
    // the end of the input. Throws std::runtime_error when reading fails.
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Throws std::runtime_error when the bytes cannot be written.
    virtual void write(std::string_view bytes) = 0;
    virtual void flush() {}
};

// Hands out a string, at most maxPiece bytes per read, so tests can cut the
// input at every possible place.
class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string_view data, std::size_t maxPiece = std::string_view::npos)
        : data_(data), maxPiece_(maxPiece == 0 ? 1 : maxPiece) {}
    std::size_t read(char* buffer, std::size_t capacity) override;

private:
    std::string_view data_;
    std::size_t maxPiece_;
};

class StringSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { text_.append(bytes); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

class FileSource final : public ByteSource {
public:
    FileSource(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}
    std::size_t read(char* buffer, std::size_t capacity) override;

private:
    std::FILE* file_;
    std::string name_;
};

class FileSink final : public ByteSink {
public:
    FileSink(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}
    void write(std::string_view bytes) override;
    void flush() override;

private:
    std::FILE* file_;
    std::string name_;
};

// Reads a whole source into a string.
std::string readAll(ByteSource& source);
// Reads from source until count bytes are read or the input ends.
std::string readAtMost(ByteSource& source, std::size_t count);

// Hands out bytes already read from a source, then the rest of that source.
class ReadAheadSource final : public ByteSource {
public:
    ReadAheadSource(std::string_view head, ByteSource& rest) : head_(head), rest_(rest) {}
    std::size_t read(char* buffer, std::size_t capacity) override;

private:
    StringSource head_;
    ByteSource& rest_;
};

}  // namespace kalvitra::cli
