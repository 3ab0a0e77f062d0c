#pragma once

#include <cstddef>
#include <string_view>

// The pieces a frame is cut from and what they are called: the key the cut
// list's CSV writes, and the word in each language that the cut-list DXF and
// the designer's cut list show.

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

}  // namespace kalvitra::workshop
