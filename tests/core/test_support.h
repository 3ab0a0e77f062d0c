#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/testing/recording_sheet.h"
#include "kalvitra/testing/worked_example.h"

namespace kalvitra::testing {

using FieldTexts = RecordingSheet::Writes;

inline Sheet sheetWith(std::initializer_list<std::pair<Field, const char*>> texts) {
    Sheet sheet;
    for (const auto& [field, text] : texts) {
        sheet.setText(field, text);
    }
    return sheet;
}

// The worked example's section: D = 200 and widths 190, 175, 155, 130, 100, 65.
inline Sheet sixStageInputs() {
    Sheet sheet;
    worked_example::fill(sheet, worked_example::kSection);
    return sheet;
}

// Field texts of the worked example in the tables' own form.
template <typename Texts>
FieldTexts asFieldTexts(const Texts& texts) {
    FieldTexts out;
    for (const auto& [field, text] : texts) {
        out.emplace_back(field, std::string(text));
    }
    return out;
}

}  // namespace kalvitra::testing
