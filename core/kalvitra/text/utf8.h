#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvitra {

// The UTF-8 byte order mark. Text from Windows editors may start with it;
// readers of sheets and tables skip it there.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Offset of the first byte that does not belong to well-formed UTF-8 (overlong
// forms, surrogates and code points past U+10FFFF included), or npos when the
// whole text is well-formed. Control characters and NUL are valid text.
std::size_t findInvalidUtf8(std::string_view text);

inline bool isValidUtf8(std::string_view text) {
    return findInvalidUtf8(text) == std::string_view::npos;
}

// The code point that starts at text[at] and the bytes it takes. A byte that
// starts no well-formed sequence stands for U+FFFD and takes one byte, so a
// reader always moves on.
//   ("\xE7\xBA\xA7", 0) -> {U+7EA7, 3}     ("\xFF", 0) -> {U+FFFD, 1}
struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;
};
CodePoint decodeUtf8(std::string_view text, std::size_t at);

// Quotes text for a one-line message: control characters, quotes and
// backslashes are escaped, and text longer than maxLength code points is cut
// with "..." after it, so a message never spans lines nor floods the terminal.
std::string quoteForMessage(std::string_view text, std::size_t maxLength = 40);

}  // namespace kalvitra
