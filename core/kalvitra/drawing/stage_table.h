#pragma once

#include <string_view>

// The heads of the stage table's columns, as the section drawing writes them
// and the designer's stage table shows them.

namespace kalvitra::drawing {

struct StageTableHeads {
    std::string_view stage;
    std::string_view width;
    std::string_view thickness;
};

inline constexpr StageTableHeads kEnglishStageTableHeads = {"stage", "width mm", "thickness mm"};
inline constexpr StageTableHeads kChineseStageTableHeads = {"级", "片宽 mm", "级厚 mm"};

}  // namespace kalvitra::drawing
