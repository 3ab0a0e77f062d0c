#include "kalvitra/drawing/title_block.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::drawing {
namespace {

struct TitleLabels {
    std::string_view productModel;
    std::string_view jobNumber;
    std::string_view designer;
    std::string_view checker;
    std::string_view date;
    std::string_view scale;
    std::string_view units;
};

constexpr TitleLabels kEnglishLabels = {"product model", "job number", "designed", "checked",
                                        "date",          "scale",      "units"};
constexpr TitleLabels kChineseLabels = {"产品型号", "工号", "设计", "校对", "日期", "比例", "单位"};

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr std::array kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// The digits of text[from, from + count) as a number, or -1.
int digitsAt(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string writtenDay(const std::tm& day) {
    std::array<char, 16> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d", &day);
    return std::string(text.data(), length);
}

}  // namespace

TitleBlock titleBlockOf(const Sheet& sheet, const Signatures& signatures) {
    return {trimmed(sheet.textRef(Field::Text1)), trimmed(sheet.textRef(Field::Text2)), signatures,
            "1:1", "mm"};
}

std::vector<TitleCell> titleCells(const TitleBlock& block, Language language) {
    const TitleLabels& l = language == Language::Chinese ? kChineseLabels : kEnglishLabels;
    const Signatures& s = block.signatures;
    return {{l.productModel, block.productModel},
            {l.jobNumber, block.jobNumber},
            {l.designer, s.designer},
            {l.checker, s.checker},
            {l.date, s.date},
            {l.scale, block.scale},
            {l.units, block.units}};
}

TitleBlockLayout layOutTitleBlock(const std::vector<TitleCell>& cells, Point topRight, double em) {
    double labelWidth = 0;
    double valueWidth = 8 * em;
    for (const TitleCell& cell : cells) {
        labelWidth = std::max(labelWidth, (textWidthEm(cell.label) + 1) * em);
        valueWidth = std::max(valueWidth, (textWidthEm(cell.value) + 1) * em);
    }
    const double row = 1.6 * em;
    TitleBlockLayout block;
    block.width = labelWidth + valueWidth;
    block.height = row * static_cast<double>(cells.size());
    const double left = topRight.x - block.width;
    const double top = topRight.y;
    for (std::size_t k = 0; k <= cells.size(); ++k) {
        const double y = top + row * static_cast<double>(k);
        block.rules.push_back({{left, y}, {topRight.x, y}});
    }
    for (const double x : {left, left + labelWidth, topRight.x}) {
        block.rules.push_back({{x, top}, {x, top + block.height}});
    }
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const double baseline = top + row * static_cast<double>(k) + 1.15 * em;
        block.texts.push_back({{left + 0.5 * em, baseline}, std::string(cells[k].label)});
        block.texts.push_back({{left + labelWidth + 0.5 * em, baseline}, cells[k].value});
    }
    return block;
}

void checkTitleText(DesignInput input, std::string_view text) {
    bool sound = text.size() <= kMaxTitleText && isValidUtf8(text);
    for (std::size_t at = 0; sound && at < text.size();) {
        const CodePoint c = decodeUtf8(text, at);
        sound = c.value >= 0x20 && c.value != 0x7F && !(c.value >= 0x80 && c.value < 0xA0);
        at += c.length;
    }
    if (!sound) {
        throw DesignError(input, DesignRule::Range,
                          "the " + std::string(definitionOf(input).noun) +
                              " must be one line of text without control characters, at most " +
                              std::to_string(kMaxTitleText) + " bytes");
    }
}

void checkDate(std::string_view text) {
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-';
    const int year = shaped ? digitsAt(text, 0, 4) : -1;
    const int month = shaped ? digitsAt(text, 5, 2) : -1;
    const int day = shaped ? digitsAt(text, 8, 2) : -1;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        throw DesignError(DesignInput::Date, DesignRule::Range,
                          "the date must be a day from 1900-01-01 on written YYYY-MM-DD, as "
                          "2026-12-08");
    }
}

std::string drawingDate(const char* sourceDateEpoch, std::time_t now) {
    std::tm day{};
    if (sourceDateEpoch == nullptr) {
#ifdef _WIN32
        localtime_s(&day, &now);
#else
        localtime_r(&now, &day);
#endif
        return writtenDay(day);
    }
    const std::string_view text(sourceDateEpoch);
    long long seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    const std::time_t epoch = static_cast<std::time_t>(seconds);
    bool read = error == std::errc() && end == text.data() + text.size() && seconds >= 0;
#ifdef _WIN32
    read = read && gmtime_s(&day, &epoch) == 0;
#else
    read = read && gmtime_r(&epoch, &day) != nullptr;
#endif
    if (!read) {
        throw DesignError(DesignInput::Date, DesignRule::Reading,
                          "SOURCE_DATE_EPOCH " + quoteForMessage(text) +
                              " is not a number of seconds since 1970");
    }
    return writtenDay(day);
}

std::string todaysDrawingDate() {
    return drawingDate(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr));
}

}  // namespace kalvitra::drawing
