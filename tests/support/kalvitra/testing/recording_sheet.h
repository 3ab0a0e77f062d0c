#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kalvitra/sheet/sheet.h"

namespace kalvitra::testing {

// A sheet that records every write in order, to check what an action wrote
// and in which order, partial writes before an error included.
class RecordingSheet final : public SheetAccess {
public:
    using Writes = std::vector<std::pair<Field, std::string>>;

    explicit RecordingSheet(Sheet start = Sheet()) : sheet_(std::move(start)) {}
    std::string text(Field field) const override { return sheet_.text(field); }
    void setText(Field field, std::string_view text) override {
        writes.emplace_back(field, std::string(text));
        sheet_.setText(field, text);
    }
    const Sheet& sheet() const { return sheet_; }
    Writes writes;

private:
    Sheet sheet_;
};

}  // namespace kalvitra::testing
