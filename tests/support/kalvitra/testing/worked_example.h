#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "kalvitra/sheet/sheet.h"

// The six-stage core that the designers check every calculation against:
// its inputs and the texts each button must leave, to the last digit. Kept
// in one place for every test and benchmark that types or reads it.
namespace kalvitra::worked_example {

using FieldText = std::pair<Field, std::string_view>;

// Core diameter and the widths of stages 1..6: all the stage thickness needs.
inline constexpr std::array<FieldText, 7> kSection = {{{Field::D, "200"},
                                                       {Field::PK1, "190"},
                                                       {Field::PK2, "175"},
                                                       {Field::PK3, "155"},
                                                       {Field::PK4, "130"},
                                                       {Field::PK5, "100"},
                                                       {Field::PK6, "65"}}};

// Both thickness columns after 级厚.
inline constexpr std::array<FieldText, 17> kThicknesses = {{{Field::jh1, "0062.45"},
                                                            {Field::jh2, "0017.19"},
                                                            {Field::jh3, "0014.78"},
                                                            {Field::jh4, "0012.80"},
                                                            {Field::jh5, "0010.61"},
                                                            {Field::jh6, "0007.97"},
                                                            {Field::jh7, "0"},
                                                            {Field::jh8, "0"},
                                                            {Field::jh9, "0"},
                                                            {Field::jh22, "17.19"},
                                                            {Field::jh32, "14.78"},
                                                            {Field::jh42, "12.8"},
                                                            {Field::jh52, "10.61"},
                                                            {Field::jh62, "7.97"},
                                                            {Field::jh72, "0"},
                                                            {Field::jh82, "0"},
                                                            {Field::jh92, "0"}}};

inline constexpr FieldText kGrossArea = {Field::txmj, "289.499"};
inline constexpr FieldText kTotalStack = {Field::dh, "189.15"};

// The net area is worked with a stacking factor of 0.96 ...
inline constexpr FieldText kNetAreaStackingFactor = {Field::dpxs, "0.96"};
inline constexpr FieldText kNetArea = {Field::txjmj, "277.91904"};

// ... the weight with the frame below, whose stacking factor is 0.97.
inline constexpr std::array<FieldText, 4> kFrame = {
    {{Field::H, "600"}, {Field::M, "420"}, {Field::Z, "3"}, {Field::dpxs, "0.97"}}};
inline constexpr FieldText kCoreWeight = {Field::txz, "834.9353444385"};

// Writes texts into a sheet, in order.
template <typename Texts>
void fill(SheetAccess& sheet, const Texts& texts) {
    for (const auto& [field, text] : texts) {
        sheet.setText(field, text);
    }
}

}  // namespace kalvitra::worked_example
