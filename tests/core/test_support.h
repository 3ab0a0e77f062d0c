#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "kalvitra/sheet.h"
#include "kalvitra/testing/worked_example.h"

namespace kalvitra::testing {

using FieldTexts = std::vector<std::pair<Field, std::string>>;

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

// A sheet that records every write in order, to check what an action wrote
// and in which order, partial writes before an error included.
class RecordingSheet final : public SheetAccess {
public:
    explicit RecordingSheet(Sheet start = Sheet()) : sheet_(std::move(start)) {}
    std::string text(Field field) const override { return sheet_.text(field); }
    void setText(Field field, std::string_view text) override {
        writes.emplace_back(field, std::string(text));
        sheet_.setText(field, text);
    }
    const Sheet& sheet() const { return sheet_; }
    FieldTexts writes;

private:
    Sheet sheet_;
};

}  // namespace kalvitra::testing
