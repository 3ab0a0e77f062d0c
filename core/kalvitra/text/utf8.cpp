#include "kalvitra/text/utf8.h"

namespace kalvitra {
namespace {

// Length of the well-formed UTF-8 sequence starting at text[at], or 0 when
// none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    // Bounds of the second byte; they exclude overlong forms, surrogates
    // (U+D800..U+DFFF) and code points beyond U+10FFFF.
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            secondMin = 0xA0;
        } else if (lead == 0xED) {
            secondMax = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            secondMin = 0x90;
        } else if (lead == 0xF4) {
            secondMax = 0x8F;
        }
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    if (byteAt(at + 1) < secondMin || byteAt(at + 1) > secondMax) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((byteAt(at + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

CodePoint decodeUtf8(std::string_view text, std::size_t at) {
    const std::size_t length = sequenceLength(text, at);
    if (length == 0) {
        return {U'\uFFFD', 1};
    }
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    // The lead byte keeps 7, 5, 4 or 3 bits; every later byte 6.
    constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = byteAt(0) & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        value = (value << 6) | (byteAt(k) & 0x3F);
    }
    return {value, length};
}

std::size_t findInvalidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Plain ASCII dominates the input: skip it without the full decode.
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

std::string quoteForMessage(std::string_view text, std::size_t maxLength) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    const auto appendEscaped = [](std::string& out, unsigned char byte) {
        out += "\\x";
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0x0F];
    };
    std::string quoted = "\"";
    std::size_t codePoints = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (codePoints++ == maxLength) {
            quoted += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(text, i);
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            appendEscaped(quoted, byte);
            ++i;
            continue;
        }
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
        }
        quoted.append(text.substr(i, length));
        i += length;
    }
    quoted += '"';
    return quoted;
}

}  // namespace kalvitra
