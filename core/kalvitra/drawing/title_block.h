#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet.h"

// The title block of a drawing and of the report (TitleBlock, beside the
// section drawing): its cells in each language, how they are laid out, and
// the rules of its texts and its date. Both drawings (the section and the
// cut list) and the designer's report show the same cells.

namespace kalvitra::drawing {

// The block of a sheet's product (Text1 and Text2, blanks around them
// dropped) with the signatures, full size in millimetres.
TitleBlock titleBlockOf(const Sheet& sheet, const Signatures& signatures);

// One cell of the block: its label in the language, and the value.
struct TitleCell {
    std::string_view label;
    std::string value;
};

// The cells in order: product model, job number, designer, checker, date,
// scale, units. In Chinese 产品型号, 工号, 设计, 校对, 日期, 比例, 单位.
std::vector<TitleCell> titleCells(const TitleBlock& block, Language language);

// The block drawn as a table of two columns, label and value, a row a cell,
// its top right corner at topRight on a page with y down, its texts em
// high: the rules (the frame, a line between rows and one between the
// columns) and the texts at their baselines. Each column is as wide as its
// widest text (textWidthEm) and an em, the values at least 8 em.
struct TitleBlockLayout {
    struct Rule {
        Point from;
        Point to;
    };
    struct Text {
        Point baseline;
        std::string text;
    };
    std::vector<Rule> rules;
    std::vector<Text> texts;
    double width = 0;
    double height = 0;
};
TitleBlockLayout layOutTitleBlock(const std::vector<TitleCell>& cells, Point topRight, double em);

// Throws DesignError(input, Range) unless text is one line of valid UTF-8
// without control characters, at most kMaxTitleText bytes, so that it fits a
// cell: (Designer, "Li\nWei") -> "the designer's name must be one line of
// text without control characters, at most 200 bytes".
inline constexpr std::size_t kMaxTitleText = 200;
void checkTitleText(DesignInput input, std::string_view text);

// Throws DesignError(Date, Range) unless text is a day of the Gregorian
// calendar from 1900-01-01 written YYYY-MM-DD: "2026-02-30" -> "the date must
// be a day written YYYY-MM-DD, as 2026-12-08".
void checkDate(std::string_view text);

// The day a drawing carries when none is given: the day of SOURCE_DATE_EPOCH
// (seconds since 1970 in UTC, the convention of reproducible builds) when
// that is set to a number, else today's local date. sourceDateEpoch is the
// variable's text, if set: ("1765152000", now) -> "2025-12-08".
std::string drawingDate(const char* sourceDateEpoch, std::time_t now);

// The same for this process: its SOURCE_DATE_EPOCH and the clock.
std::string todaysDrawingDate();

}  // namespace kalvitra::drawing
