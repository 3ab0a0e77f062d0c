#include "kalvitra/sheet/sheet.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace kalvitra {
namespace {

TEST(Sheet, NamesAndLabelsAreUniqueAndFindTheirField) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Field field = fieldAt(i);
        EXPECT_TRUE(seen.insert(fieldName(field)).second) << fieldName(field);
        EXPECT_TRUE(seen.insert(fieldLabel(field)).second) << fieldLabel(field);
        EXPECT_EQ(fieldByName(fieldName(field)), field);
        EXPECT_EQ(fieldByLabel(fieldLabel(field)), field);
    }
    for (const char* unknown : {"", "d", "JH1", "jh12", "PK10", "txz ", "Text3"}) {
        EXPECT_EQ(fieldByName(unknown), std::nullopt) << unknown;
    }
    EXPECT_EQ(fieldByLabel("铁心直径(mm)："), std::nullopt) << "the caption, not the label";
}

TEST(Sheet, StageRowsNameTheirFields) {
    const struct {
        int stage;
        const char* width;
        const char* thickness;
        const char* second;
    } rows[] = {{1, "PK1", "jh1", nullptr}, {2, "PK2", "jh2", "jh22"}, {9, "PK9", "jh9", "jh92"}};
    for (const auto& row : rows) {
        EXPECT_EQ(fieldName(widthField(row.stage)), row.width);
        EXPECT_EQ(fieldName(thicknessField(row.stage)), row.thickness);
        if (row.second != nullptr) {
            EXPECT_EQ(fieldName(secondColumnField(row.stage)), row.second);
        }
    }
    EXPECT_THROW(widthField(0), std::out_of_range);
    EXPECT_THROW(thicknessField(10), std::out_of_range);
    EXPECT_THROW(secondColumnField(1), std::out_of_range);
}

TEST(Sheet, StartsAndResetsToTheInitialTexts) {
    Sheet sheet;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Field field = fieldAt(i);
        EXPECT_EQ(sheet.text(field), field == Field::MD ? "7.65" : "") << fieldName(field);
        sheet.setText(field, "x");
    }
    sheet.reset();
    EXPECT_EQ(sheet, Sheet());
}

}  // namespace
}  // namespace kalvitra
