#pragma once

#include <span>
#include <string>
#include <vector>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/sheet.h"

// Where the calculations' lenient reading of a sheet may not give what the
// designer meant. The actions read "120mm" as 120, "0,96" as 0 and an empty
// field as 0 without a word, and stored sheets depend on that, so the
// reading itself stays as it is; these findings let a front end say what was
// read before it calculates, or refuse to calculate.

namespace kalvitra {

enum class LenientKind {
    NotOneNumber,   // text that is not one plain number: read up to what ends it
    DecimalComma,   // a comma ended the number: "0,96" read as 0
    Empty,          // an empty single quantity, or an empty field of a stage in use
    NotDecreasing,  // a width not below the width of the stage before it
    SkippedStage,   // an empty width while a later stage has one
};

struct LenientFinding {
    LenientKind kind = LenientKind::NotOneNumber;
    Field field = Field::D;
    std::string text;  // the field's text as it stands
    double value = 0;  // the number the actions use for it
    // NotDecreasing: the width before it; SkippedStage: the last width given.
    Field other = Field::D;
    double otherValue = 0;
};

// Whether the action reads the field by lenient reading before it writes the
// field itself: the stage-thickness action reads D and the widths; it reads
// back the thicknesses only after writing them. The net-area action reads
// txmj strictly, so not here.
bool readsLeniently(Action action, Field field);
// Whether the action writes the field: its results, and for the stage
// thicknesses both thickness columns.
bool writes(Action action, Field field);

// What the actions, run in the order given, would read leniently in the
// sheet as it stands, field by field in sheet order. A field that an earlier
// action writes is not looked at: its text comes from the calculation. Stage
// rows after the last width given are empty by design and pass; an empty
// width before it is a skipped stage. Widths are checked for order when an
// action reads them. A text beyond the double range is no finding: the
// action that reads it stops with an overflow error naming the field.
std::vector<LenientFinding> findLenientReadings(const SheetAccess& sheet,
                                                std::span<const Action> actions);

// One line for the designer, naming the field, its text and the value used:
//   PK1: "１９０" read as 0
//   dpxs: "0,96" read as 0 (a comma ends a number: use a decimal point)
//   PK3: "180" is not below PK2 (175): the widths must decrease, or the
//        thicknesses come out negative
//   PK2: "" read as 0 while PK4 is given: stage 2 is skipped
std::string describeFinding(const LenientFinding& finding);

}  // namespace kalvitra
