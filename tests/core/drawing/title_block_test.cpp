// The title block: which texts and days it takes, and the day it carries
// when none is given.

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

}  // namespace
}  // namespace kalvitra::drawing
