#include "kalvitra/sheet/actions.h"

#include <cmath>
#include <string>

#include "kalvitra/sheet/arithmetic.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/number_text.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra {
namespace {

using detail::CheckedArithmetic;

std::string named(Field field, std::string_view what) {
    std::string message(fieldName(field));
    message += ": ";
    message += what;
    return message;
}

// Every calculation reads its inputs leniently; an error names the field.
double readField(const SheetAccess& sheet, Field field) {
    try {
        return readLenient(sheet.text(field));
    } catch (const CalcError& error) {
        throw CalcError(error.kind(), named(field, error.what()), field);
    }
}

void writeDefaultInto(SheetAccess& sheet, Field field, double value) {
    char text[kMaxDefaultTextLength];
    sheet.setText(field, std::string_view(text, writeDefault(value, text)));
}

// x to the power 0.5; a negative base is an invalid argument, raised by the
// power itself before anything of the stage is written.
double squareRoot(double base, int stage) {
    if (base < 0.0) {
        throw CalcError(ErrorKind::InvalidArgument,
                        describePlace({CalcStep::StageRoot, stage}) +
                            ": negative number under the square root (the width is larger "
                            "than the core diameter D)",
                        widthField(stage), {CalcStep::StageRoot, stage});
    }
    return std::sqrt(base);
}

// The unrounded thickness of a stage, from its width, D and the two-decimal
// thicknesses that the stages before it show (shown[0] for stage 1).
double stageThickness(double width, double diameter, int stage,
                      const double (&shown)[kStageCount]) {
    CheckedArithmetic arithmetic;
    const double base =
        arithmetic.sub(arithmetic.mul(diameter, diameter), arithmetic.mul(width, width));
    arithmetic.check({CalcStep::StageSquares, stage});
    const double reach = squareRoot(base, stage);

    double thickness = reach;
    if (stage > 1) {
        thickness = arithmetic.sub(arithmetic.div(reach, 2.0), arithmetic.div(shown[0], 2.0));
        for (int i = 2; i < stage; ++i) {
            thickness = arithmetic.sub(thickness, shown[i - 1]);
        }
        arithmetic.check({CalcStep::StageThickness, stage});
    }
    return thickness;
}

// Writes a stage's thickness into its field; the number its shown text
// stands for.
double writeStageThickness(SheetAccess& sheet, int stage, double thickness) {
    // Written twice on purpose: first the default text, then the pattern
    // applied to the number of that text (at most 15 digits), not to the
    // unrounded thickness. 2.675 has the default text 2.675 and shows as
    // 0002.68, where the unrounded double (2.67499999...) would give
    // 0002.67. A sheet that records its writes sees both texts.
    const Field field = thicknessField(stage);
    char defaultText[kMaxDefaultTextLength];
    const std::string_view written(defaultText, writeDefault(thickness, defaultText));
    sheet.setText(field, written);
    const std::string pattern = detail::patternOfDefaultText(written);
    sheet.setText(field, pattern);
    return readLenient(pattern);
}

// Stages without a width are not in use; both their columns show "0".
void zeroUnusedStages(SheetAccess& sheet, const double (&width)[kStageCount]) {
    const std::string zero = writeInteger(0);
    for (int stage = 1; stage <= kStageCount; ++stage) {
        if (width[stage - 1] == 0.0) {
            sheet.setText(thicknessField(stage), zero);
            if (stage > 1) {
                sheet.setText(secondColumnField(stage), zero);
            }
        }
    }
}

}  // namespace

void computeStageThicknesses(SheetAccess& sheet) {
    // Pass 1: each stage works with the two-decimal thicknesses that the
    // stages before it show in their fields. Nothing else writes the sheet
    // while the action runs, and it writes neither D nor the widths, so
    // each field is read once: the number of each shown text is kept as it
    // is written instead of being read back again at every later stage.
    double shown[kStageCount] = {};
    double width[kStageCount] = {};
    double diameter = 0.0;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        // The width before the diameter: when both texts are beyond reading
        // (an overflowing "1E+400", say), the error names the stage's width
        // field, the one the designer is typing row by row.
        width[stage - 1] = readField(sheet, widthField(stage));
        if (stage == 1) {
            diameter = readField(sheet, Field::D);
        }
        const double thickness = stageThickness(width[stage - 1], diameter, stage, shown);
        shown[stage - 1] = writeStageThickness(sheet, stage, thickness);
    }

    // Pass 2: the other packet of stages 2..9 gets the same two-decimal
    // number, in default form (0012.80 -> 12.8).
    for (int stage = 2; stage <= kStageCount; ++stage) {
        writeDefaultInto(sheet, secondColumnField(stage), shown[stage - 1]);
    }

    // Pass 3: stages without a width are not in use.
    zeroUnusedStages(sheet, width);
}

void computeGrossArea(SheetAccess& sheet) {
    double width[kStageCount];
    double thickness[kStageCount];
    thickness[0] = readField(sheet, thicknessField(1));
    for (int stage = 2; stage <= kStageCount; ++stage) {
        width[stage - 1] = readField(sheet, widthField(stage));
        thickness[stage - 1] = readField(sheet, thicknessField(stage));
    }
    width[0] = readField(sheet, widthField(1));

    CheckedArithmetic arithmetic;
    double product[kStageCount];
    for (int i = 0; i < kStageCount; ++i) {
        product[i] = arithmetic.mul(width[i], thickness[i]);
    }
    // Stages 2..9 have a packet on each side of the centre stage.
    double sides = arithmetic.add(product[1], product[2]);
    for (int i = 3; i < kStageCount; ++i) {
        sides = arithmetic.add(sides, product[i]);
    }
    const double squareMillimetres = arithmetic.add(product[0], arithmetic.mul(2.0, sides));
    arithmetic.check({CalcStep::GrossArea});

    writeDefaultInto(sheet, Field::txmj, squareMillimetres / 100.0);
}

void computeNetArea(SheetAccess& sheet) {
    const double stackingFactor = readField(sheet, Field::dpxs);
    double grossArea = 0.0;
    try {
        grossArea = readStrict(sheet.text(Field::txmj));
    } catch (const CalcError& error) {
        throw CalcError(error.kind(),
                        named(Field::txmj, error.kind() == ErrorKind::TypeMismatch
                                               ? "the gross area is not a number"
                                               : error.what()),
                        Field::txmj);
    }

    CheckedArithmetic arithmetic;
    const double netArea = arithmetic.mul(grossArea, stackingFactor);
    arithmetic.check({CalcStep::NetArea});

    writeDefaultInto(sheet, Field::txjmj, netArea);
}

void computeTotalStack(SheetAccess& sheet) {
    double onePacket[kStageCount];
    double otherPacket[kStageCount];
    for (int stage = 2; stage <= kStageCount; ++stage) {
        onePacket[stage - 1] = readField(sheet, thicknessField(stage));
        otherPacket[stage - 1] = readField(sheet, secondColumnField(stage));
    }
    onePacket[0] = readField(sheet, thicknessField(1));

    CheckedArithmetic arithmetic;
    double total = onePacket[0];
    for (int i = 1; i < kStageCount; ++i) {
        total = arithmetic.add(total, onePacket[i]);
        total = arithmetic.add(total, otherPacket[i]);
    }
    arithmetic.check({CalcStep::TotalStack});

    writeDefaultInto(sheet, Field::dh, total);
}

void computeCoreWeight(SheetAccess& sheet) {
    // Each stage is a flat frame of sheet steel: an outline less the windows
    // between the limbs, times the thickness of both its packets.
    const double centreWidth = readField(sheet, widthField(1));
    const double windowHeight = readField(sheet, Field::H);
    CheckedArithmetic arithmetic;
    const double yokeDistance = arithmetic.add(windowHeight, centreWidth);
    arithmetic.check({CalcStep::WeightYoke});

    const double centreDistance = readField(sheet, Field::M);
    const double limbs = readField(sheet, Field::Z);
    double plateArea[kStageCount];
    for (int stage = 1; stage <= kStageCount; ++stage) {
        const double width = readField(sheet, widthField(stage));
        const double outlineWidth =
            arithmetic.add(arithmetic.mul(centreDistance, arithmetic.sub(limbs, 1.0)), width);
        arithmetic.check({CalcStep::WeightOutline, stage});
        const double outlineArea =
            arithmetic.mul(arithmetic.add(yokeDistance, width), outlineWidth);
        const double windowWidths =
            arithmetic.mul(arithmetic.sub(centreDistance, width), arithmetic.sub(limbs, 1.0));
        arithmetic.check({CalcStep::WeightWindows, stage});
        const double windowArea = arithmetic.mul(arithmetic.sub(yokeDistance, width), windowWidths);
        plateArea[stage - 1] = arithmetic.sub(outlineArea, windowArea);
    }

    double volume[kStageCount];
    volume[0] = arithmetic.mul(plateArea[0], readField(sheet, thicknessField(1)));
    for (int stage = 2; stage <= kStageCount; ++stage) {
        const double onePacket = readField(sheet, thicknessField(stage));
        const double otherPacket = readField(sheet, secondColumnField(stage));
        const double thickness = arithmetic.add(onePacket, otherPacket);
        arithmetic.check({CalcStep::WeightThickness, stage});
        volume[stage - 1] = arithmetic.mul(plateArea[stage - 1], thickness);
    }

    const double stackingFactor = readField(sheet, Field::dpxs);
    const double density = readField(sheet, Field::MD);
    const double effectiveDensity = arithmetic.mul(stackingFactor, density);
    arithmetic.check({CalcStep::WeightDensity});

    double coreVolume = arithmetic.add(volume[0], volume[1]);
    for (int i = 2; i < kStageCount; ++i) {
        coreVolume = arithmetic.add(coreVolume, volume[i]);
    }
    // mm³ × g/cm³ / 1000000 = kg
    const double weight = arithmetic.div(arithmetic.mul(effectiveDensity, coreVolume), 1000000.0);
    // The steps since the last check are checked too: a weight beyond the
    // double range must not be written as a number.
    arithmetic.check({CalcStep::Weight});

    writeDefaultInto(sheet, Field::txz, weight);
}

std::string_view actionName(Action action) {
    switch (action) {
        case Action::StageThicknesses:
            return "stages";
        case Action::GrossArea:
            return "gross-area";
        case Action::NetArea:
            return "net-area";
        case Action::TotalStack:
            return "stack";
        case Action::CoreWeight:
            return "weight";
    }
    return "";
}

std::optional<Action> actionByName(std::string_view name) {
    for (Action action : kAllActions) {
        if (actionName(action) == name) {
            return action;
        }
    }
    return std::nullopt;
}

void runAction(Action action, SheetAccess& sheet) {
    switch (action) {
        case Action::StageThicknesses:
            return computeStageThicknesses(sheet);
        case Action::GrossArea:
            return computeGrossArea(sheet);
        case Action::NetArea:
            return computeNetArea(sheet);
        case Action::TotalStack:
            return computeTotalStack(sheet);
        case Action::CoreWeight:
            return computeCoreWeight(sheet);
    }
}

}  // namespace kalvitra
