// The title block: which texts and days it takes, the day it carries when
// none is given, and that its cells and rules stay inside the block.

#include "kalvitra/drawing/title_block.h"

#include <gtest/gtest.h>

#include <string>

#include "kalvitra/sheet/errors.h"

namespace kalvitra::drawing {
namespace {

TEST(TitleBlockDate, TakesCalendarDaysOnly) {
    const struct {
        const char* name;
        const char* text;
        bool taken;
    } cases[] = {
        {"a day", "2026-12-08", true},
        {"leap day", "2024-02-29", true},
        {"leap day of a century divisible by 400", "2000-02-29", true},
        {"first day", "1900-01-01", true},
        {"no leap day in a common year", "2026-02-29", false},
        {"no leap day in 1900", "1900-02-29", false},
        {"the 31st of a 30-day month", "2026-04-31", false},
        {"month 13", "2026-13-01", false},
        {"day 0", "2026-12-00", false},
        {"before 1900", "1899-12-31", false},
        {"slashes", "2026/12/08", false},
        {"no leading zeros", "2026-1-8", false},
        {"a blank after it", "2026-12-08 ", false},
        {"full-width digits", "２０２６-12-08", false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.taken) {
            EXPECT_NO_THROW(checkDate(c.text));
            continue;
        }
        try {
            checkDate(c.text);
            ADD_FAILURE() << "taken";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), DesignInput::Date);
            EXPECT_EQ(error.rule(), DesignRule::Range);
            EXPECT_STREQ(error.what(),
                         "the date must be a day from 1900-01-01 on written YYYY-MM-DD, as "
                         "2026-12-08");
        }
    }
}

TEST(TitleBlockText, OneLineWithoutControlCharacters) {
    const struct {
        const char* name;
        std::string text;
        bool taken;
    } cases[] = {
        {"empty", "", true},
        {"Chinese", "李伟", true},
        {"the longest", std::string(kMaxTitleText, 'x'), true},
        {"one byte more", std::string(kMaxTitleText + 1, 'x'), false},
        {"a line break", "Li\nWei", false},
        {"a tab", "Li\tWei", false},
        {"a C1 control", "Li\xC2\x85Wei", false},
        {"not UTF-8", "Li\xFFWei", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.taken) {
            EXPECT_NO_THROW(checkTitleText(DesignInput::Checker, c.text));
            continue;
        }
        try {
            checkTitleText(DesignInput::Checker, c.text);
            ADD_FAILURE() << "taken";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), DesignInput::Checker);
            EXPECT_EQ(error.rule(), DesignRule::Range);
            EXPECT_STREQ(error.what(),
                         "the checker's name must be one line of text without control "
                         "characters, at most 200 bytes");
        }
    }
}

// SOURCE_DATE_EPOCH is a day in UTC whatever the clock says; without it the
// clock's local day is written in the same form.
TEST(TitleBlockDate, SourceDateEpochBeforeTheClock) {
    const std::time_t clock = 1765152000;  // 2025-12-08 00:00 UTC
    const struct {
        const char* name;
        const char* epoch;
        const char* day;
    } cases[] = {
        {"the epoch's day", "1765152000", "2025-12-08"},
        {"the last second of a day", "1765238399", "2025-12-08"},
        {"1970", "0", "1970-01-01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawingDate(c.epoch, clock + 86400 * 400), c.day) << c.name;
    }
    const std::string local = drawingDate(nullptr, clock);
    EXPECT_NO_THROW(checkDate(local)) << local;
    for (const char* bad : {"", "soon", "-1", "1765152000 ", "1e9"}) {
        try {
            drawingDate(bad, clock);
            ADD_FAILURE() << bad << " was taken";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), DesignInput::Date);
            EXPECT_EQ(error.rule(), DesignRule::Reading);
            EXPECT_NE(std::string(error.what()).find("SOURCE_DATE_EPOCH"), std::string::npos);
        }
    }
}

// The cells come from the sheet's Text1 and Text2 (without the blanks
// around them) and the signatures, labelled in the language.
TEST(TitleBlockCells, FromTheSheetAndTheSignatures) {
    Sheet sheet;
    sheet.setText(Field::Text1, "  S11-M-100/10 ");
    sheet.setText(Field::Text2, "J2026-17");
    const TitleBlock block = titleBlockOf(sheet, {"李伟", "王芳", "2026-12-08"});
    const std::vector<TitleCell> zh = titleCells(block, Language::Chinese);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"产品型号", "S11-M-100/10"}, {"工号", "J2026-17"}, {"设计", "李伟"}, {"校对", "王芳"},
        {"日期", "2026-12-08"},       {"比例", "1:1"},      {"单位", "mm"}};
    ASSERT_EQ(zh.size(), expected.size());
    for (std::size_t k = 0; k < zh.size(); ++k) {
        EXPECT_EQ(zh[k].label, expected[k].first);
        EXPECT_EQ(zh[k].value, expected[k].second);
    }
    EXPECT_EQ(titleCells(block, Language::English)[2].label, "designed");
}

// Every text starts inside the frame and every rule lies on it or within;
// the value column grows with a long value.
TEST(TitleBlockLayout, TextsInsideTheFrame) {
    TitleBlock block;
    block.signatures.designer = std::string(60, 'W');
    const TitleBlockLayout placed =
        layOutTitleBlock(titleCells(block, Language::English), {100, 10}, 2);
    const double left = 100 - placed.width;
    EXPECT_GE(placed.width, textWidthEm(block.signatures.designer) * 2);
    EXPECT_EQ(placed.height, 7 * 1.6 * 2);
    EXPECT_EQ(placed.texts.size(), 14u);
    EXPECT_EQ(placed.rules.size(), 8u + 3u);
    for (const TitleBlockLayout::Text& text : placed.texts) {
        EXPECT_GT(text.baseline.x, left);
        EXPECT_GT(text.baseline.y, 10);
        EXPECT_LT(text.baseline.y, 10 + placed.height);
    }
    for (const TitleBlockLayout::Rule& rule : placed.rules) {
        for (const Point p : {rule.from, rule.to}) {
            EXPECT_TRUE(p.x >= left && p.x <= 100 && p.y >= 10 && p.y <= 10 + placed.height);
        }
    }
}

}  // namespace
}  // namespace kalvitra::drawing
