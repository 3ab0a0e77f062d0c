#include "kalvitra/inputs/checks.h"

#include <cmath>

#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra {

void checkStageCount(std::size_t stages) {
    if (stages < 1 || stages > static_cast<std::size_t>(kStageCount)) {
        throw DesignError(DesignInput::Widths,
                          "a core has 1 to " + std::to_string(kStageCount) + " stages");
    }
}

double readStageInput(const Sheet& sheet, Field field, int stage, std::string_view what) {
    try {
        return readLenient(sheet.textRef(field));
    } catch (const CalcError&) {
        // Lenient reading fails on nothing but a number beyond the range.
        throw DesignError(DesignInput::Widths, DesignRule::Reading,
                          stagePlace(stage) + ": the " + std::string(what) +
                              " is a number beyond the double range");
    }
}

namespace {

// What a width field that reads as 0 holds, when it holds text: ' ("２００"
// reads as 0)', or nothing for an empty field.
std::string readAsZero(const Sheet& sheet, int stage) {
    const std::string& text = sheet.textRef(widthField(stage));
    if (text.find_first_not_of(" \t") == std::string::npos) {
        return "";
    }
    return " (" + quoteForMessage(text) + " reads as 0)";
}

}  // namespace

std::vector<double> stageWidths(const Sheet& sheet) {
    const auto widthOf = [&](int stage) {
        return readStageInput(sheet, widthField(stage), stage, "width");
    };
    int used = 0;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        if (widthOf(stage) != 0) {
            used = stage;
        }
    }
    if (used == 0) {
        std::string detail = "no stage width given (PK1..PK9)";
        for (int stage = 1; stage <= kStageCount; ++stage) {
            if (const std::string zero = readAsZero(sheet, stage); !zero.empty()) {
                detail += "; " + std::string(fieldName(widthField(stage))) + zero;
                break;
            }
        }
        throw DesignError(DesignInput::Widths, detail);
    }
    std::vector<double> widths;
    for (int stage = 1; stage <= used; ++stage) {
        const double width = widthOf(stage);
        if (width == 0) {
            throw DesignError(DesignInput::Widths,
                              stagePlace(stage) + " has no width" + readAsZero(sheet, stage) +
                                  " but stage " + std::to_string(used) +
                                  " has one; the stages in use must come first");
        }
        if (width < 0) {
            throw DesignError(DesignInput::Widths,
                              stagePlace(stage) + ": a width must be greater than 0");
        }
        widths.push_back(width);
    }
    return widths;
}

void checkWidthsDecrease(double diameter, std::span<const double> widths) {
    double before = diameter;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int stage = static_cast<int>(k) + 1;
        if (!(widths[k] < before)) {
            throw DesignError(DesignInput::Widths,
                              stagePlace(stage) + ": the width " + writeDefault(widths[k]) +
                                  " is not below " +
                                  (k == 0 ? "D (" + writeDefault(diameter) + ")"
                                          : "the width of stage " + std::to_string(stage - 1) +
                                                " (" + writeDefault(before) +
                                                "); the widths must decrease from "
                                                "stage to stage"));
        }
        before = widths[k];
    }
}

}  // namespace kalvitra
