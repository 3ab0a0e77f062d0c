#pragma once

#include <cstddef>
#include <string_view>

#include "kalvitra/drawing/stage_table.h"

// The pieces a frame is cut from and what they are called: the key the cut
// list's CSV writes, and the word in each language that the cut-list DXF and
// the designer's cut list show; and the heads of the cut list's columns, as
// the CSV writes them and the designer's table shows them.

namespace kalvitra::workshop {

enum class Piece { OuterLimb, CentreLimb, Yoke };

struct PieceNames {
    std::string_view key;  // in the CSV: "outer-limb"
    std::string_view english;
    std::string_view chinese;
};

// In the order of Piece.
inline constexpr PieceNames kPieceNames[] = {
    {"outer-limb", "outer limb", "边柱"},
    {"centre-limb", "centre limb", "中柱"},
    {"yoke", "yoke", "铁轭"},
};

constexpr const PieceNames& namesOf(Piece piece) {
    return kPieceNames[static_cast<std::size_t>(piece)];
}

// The heads of the cut list's columns, in the order of the CSV.
struct CutListHeads {
    std::string_view step;
    std::string_view piece;
    std::string_view width;
    std::string_view shortLength;
    std::string_view longLength;
    std::string_view perLayer;
    std::string_view stack;
    std::string_view sheets;
    std::string_view pieces;
    std::string_view mass;
};

// The CSV's keys, for programs; the words for people, with units, the width
// headed as in the stage table.
inline constexpr CutListHeads kCutListKeys = {"step",      "piece", "width",  "short",  "long",
                                              "per_layer", "stack", "sheets", "pieces", "mass"};
inline constexpr CutListHeads kEnglishCutListHeads = {
    "step",     "piece",   drawing::kEnglishStageTableHeads.width,
    "short mm", "long mm", "per layer",
    "stack mm", "sheets",  "pieces",
    "mass kg"};
inline constexpr CutListHeads kChineseCutListHeads = {
    "级",      "零件",    drawing::kChineseStageTableHeads.width,
    "短边 mm", "长边 mm", "每层",
    "叠厚 mm", "片数",    "件数",
    "质量 kg"};

}  // namespace kalvitra::workshop
