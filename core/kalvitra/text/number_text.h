#pragma once

#include <string>
#include <string_view>

namespace kalvitra::detail {

// Pattern writing of the number that a default text shows, worked on the
// text's own decimal digits: the same as writePattern(readLenient(text))
// for every text that writeDefault produces, without converting it back.
std::string patternOfDefaultText(std::string_view defaultText);

}  // namespace kalvitra::detail
