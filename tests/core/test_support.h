#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "kalvitra/sheet.h"

namespace kalvitra::testing {

using FieldTexts = std::vector<std::pair<Field, std::string>>;

inline Sheet sheetWith(std::initializer_list<std::pair<Field, const char*>> texts) {
    Sheet sheet;
    for (const auto& [field, text] : texts) {
        sheet.setText(field, text);
    }
    return sheet;
}

// The six-stage core that the designers' handbook example uses: D = 200 and
// widths 190, 175, 155, 130, 100, 65.
inline Sheet sixStageInputs() {
    return sheetWith({{Field::D, "200"},
                      {Field::PK1, "190"},
                      {Field::PK2, "175"},
                      {Field::PK3, "155"},
                      {Field::PK4, "130"},
                      {Field::PK5, "100"},
                      {Field::PK6, "65"}});
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
