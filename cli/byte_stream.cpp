#include "byte_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kalvitra::cli {
namespace {

[[noreturn]] void throwIoError(const std::string& what, const std::string& name, int error) {
    std::string message = "cannot " + what + " " + name;
    if (error != 0) {
        message += ": ";
        message += std::strerror(error);
    }
    throw std::runtime_error(message);
}

}  // namespace

std::size_t StringSource::read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::min({capacity, maxPiece_, data_.size()});
    std::memcpy(buffer, data_.data(), count);
    data_.remove_prefix(count);
    return count;
}

std::size_t FileSource::read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::fread(buffer, 1, capacity, file_);
    if (count == 0 && std::ferror(file_)) {
        throwIoError("read", name_, errno);
    }
    return count;
}

void FileSink::write(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        throwIoError("write to", name_, errno);
    }
}

void FileSink::flush() {
    if (std::fflush(file_) != 0 || std::ferror(file_)) {
        throwIoError("write to", name_, errno);
    }
}

std::string readAll(ByteSource& source) {
    return readAtMost(source, std::string::npos);
}

std::string readAtMost(ByteSource& source, std::size_t count) {
    constexpr std::size_t kChunkSize = 64 * 1024;
    std::string data;
    // Room for all of it at once: growing by doubling could take twice the
    // memory. Pages that are never written are never taken.
    if (count != std::string::npos) {
        data.reserve(count);
    }
    while (data.size() < count) {
        const std::size_t oldSize = data.size();
        const std::size_t wanted = std::min(kChunkSize, count - oldSize);
        data.resize(oldSize + wanted);
        const std::size_t got = source.read(data.data() + oldSize, wanted);
        data.resize(oldSize + got);
        if (got == 0) {
            break;
        }
    }
    return data;
}

std::size_t ReadAheadSource::read(char* buffer, std::size_t capacity) {
    const std::size_t count = head_.read(buffer, capacity);
    return count > 0 ? count : rest_.read(buffer, capacity);
}

}  // namespace kalvitra::cli
