#include "kalvitra/sheet/lenient_reading.h"

#include <array>
#include <cstdint>

#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra {
namespace {

constexpr bool between(Field field, Field first, Field last) {
    return indexOf(field) >= indexOf(first) && indexOf(field) <= indexOf(last);
}

constexpr bool isWidth(Field field) {
    return between(field, Field::PK1, Field::PK9);
}

constexpr bool isThickness(Field field) {
    return between(field, Field::jh1, Field::jh9);
}

constexpr bool isSecondColumn(Field field) {
    return between(field, Field::jh22, Field::jh92);
}

// The stage whose row holds the field, 0 for a single quantity.
constexpr int stageOf(Field field) {
    const auto after = [field](Field first) {
        return static_cast<int>(indexOf(field) - indexOf(first));
    };
    if (isWidth(field)) {
        return after(Field::PK1) + 1;
    }
    if (isThickness(field)) {
        return after(Field::jh1) + 1;
    }
    if (isSecondColumn(field)) {
        return after(Field::jh22) + 2;
    }
    return 0;
}

constexpr bool isStageTable(Field field) {
    return stageOf(field) != 0;
}

// The last stage whose width is given; the rows after it are not in use.
int lastStageInUse(const SheetAccess& sheet) {
    for (int stage = kStageCount; stage >= 1; --stage) {
        if (readPlainNumber(sheet.text(widthField(stage))).problem != PlainNumberProblem::Empty) {
            return stage;
        }
    }
    return 0;
}

constexpr bool actionReads(Action action, Field field) {
    switch (action) {
        case Action::StageThicknesses:
            return field == Field::D || isWidth(field);
        case Action::GrossArea:
            return isWidth(field) || isThickness(field);
        case Action::NetArea:
            return field == Field::dpxs;
        case Action::TotalStack:
            return isThickness(field) || isSecondColumn(field);
        case Action::CoreWeight:
            return isStageTable(field) || field == Field::H || field == Field::M ||
                   field == Field::Z || field == Field::MD || field == Field::dpxs;
    }
    return false;
}

constexpr bool actionWrites(Action action, Field field) {
    switch (action) {
        case Action::StageThicknesses:
            return isThickness(field) || isSecondColumn(field);
        case Action::GrossArea:
            return field == Field::txmj;
        case Action::NetArea:
            return field == Field::txjmj;
        case Action::TotalStack:
            return field == Field::dh;
        case Action::CoreWeight:
            return field == Field::txz;
    }
    return false;
}

// The same as one bit per field, worked out once while compiling: a table
// is checked row by row, and the fields its actions read are the same for
// every row.
using FieldSet = std::uint64_t;
static_assert(kFieldCount <= 64);

constexpr std::array<FieldSet, kAllActions.size()> fieldSets(bool (*test)(Action, Field)) {
    std::array<FieldSet, kAllActions.size()> sets{};
    for (const Action action : kAllActions) {
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (test(action, fieldAt(i))) {
                sets[static_cast<std::size_t>(action)] |= FieldSet{1} << i;
            }
        }
    }
    return sets;
}

constexpr std::array kReadSets = fieldSets(actionReads);
constexpr std::array kWriteSets = fieldSets(actionWrites);

}  // namespace

bool readsLeniently(Action action, Field field) {
    return actionReads(action, field);
}

bool writes(Action action, Field field) {
    return actionWrites(action, field);
}

std::vector<LenientFinding> findLenientReadings(const SheetAccess& sheet,
                                                std::span<const Action> actions) {
    FieldSet read = 0;
    FieldSet written = 0;
    for (const Action action : actions) {
        read |= kReadSets[static_cast<std::size_t>(action)] & ~written;
        written |= kWriteSets[static_cast<std::size_t>(action)];
    }

    const int lastStage = lastStageInUse(sheet);
    std::vector<LenientFinding> findings;
    int previousStage = 0;  // the width before, for the order of the widths
    double previousWidth = 0;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if ((read >> i & 1) == 0) {
            continue;
        }
        const Field field = fieldAt(i);
        const int stage = stageOf(field);
        std::string text = sheet.text(field);
        const PlainReading plain = readPlainNumber(text);
        double value = plain.value;
        switch (plain.problem) {
            case PlainNumberProblem::None:
                break;
            case PlainNumberProblem::OutOfRange:
                continue;
            case PlainNumberProblem::Empty:
                if (isWidth(field) && stage < lastStage) {
                    findings.push_back({LenientKind::SkippedStage, field, std::move(text), 0,
                                        widthField(lastStage), 0});
                } else if (stage == 0 || (!isWidth(field) && stage <= lastStage)) {
                    findings.push_back({LenientKind::Empty, field, std::move(text), 0});
                }
                continue;
            case PlainNumberProblem::NotANumber:
            case PlainNumberProblem::DecimalComma:
                try {
                    value = readLenient(text);
                } catch (const CalcError&) {
                    continue;  // beyond the double range: the action says so
                }
                findings.push_back({plain.problem == PlainNumberProblem::DecimalComma
                                        ? LenientKind::DecimalComma
                                        : LenientKind::NotOneNumber,
                                    field, text, value});
                break;
        }
        if (isWidth(field)) {
            if (previousStage != 0 && !(value < previousWidth)) {
                findings.push_back({LenientKind::NotDecreasing, field, std::move(text), value,
                                    widthField(previousStage), previousWidth});
            }
            previousStage = stage;
            previousWidth = value;
        }
    }
    return findings;
}

std::string describeFinding(const LenientFinding& finding) {
    std::string line(fieldName(finding.field));
    line += ": " + quoteForMessage(finding.text);
    const std::string value = writeDefault(finding.value);
    const std::string other(fieldName(finding.other));
    switch (finding.kind) {
        case LenientKind::NotOneNumber:
        case LenientKind::Empty:
            return line + " read as " + value;
        case LenientKind::DecimalComma:
            return line + " read as " + value + " (a comma ends a number: use a decimal point)";
        case LenientKind::NotDecreasing:
            return line + " is not below " + other + " (" + writeDefault(finding.otherValue) +
                   "): the widths must decrease, or the thicknesses come out negative";
        case LenientKind::SkippedStage:
            return line + " read as " + value + " while " + other + " is given: stage " +
                   std::to_string(stageOf(finding.field)) + " is skipped";
    }
    return line;
}

}  // namespace kalvitra
