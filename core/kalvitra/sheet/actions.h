#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "kalvitra/sheet/sheet.h"

// The five calculations. Each reads its input fields from the sheet, computes
// in double precision in a fixed order of operations, and writes its result
// texts back. On an error (CalcError) the action stops where it is: fields it
// wrote keep their new texts, all others their old ones.

namespace kalvitra {

// Thickness of every stage into jh1..jh9 (pattern "0000.00"), copied into the
// second column jh22..jh92; stages whose width reads as 0 become "0".
//   D=200, PK1..PK6 = 190 175 155 130 100 65 ->
//   jh1..jh6 = 0062.45 0017.19 0014.78 0012.80 0010.61 0007.97, jh7..jh9 = 0
void computeStageThicknesses(SheetAccess& sheet);

// Gross cross-section area in cm² into txmj. For the sheet above: 289.499
void computeGrossArea(SheetAccess& sheet);

// Net area txmj × dpxs into txjmj; txmj is read strictly (TypeMismatch when
// it is not wholly a number). With dpxs = 0.96 above: 277.91904
void computeNetArea(SheetAccess& sheet);

// Total stack thickness, jh1 plus both packets of stages 2..9, into dh: 189.15
void computeTotalStack(SheetAccess& sheet);

// Core weight in kg into txz, from the stage table, H, M, Z, MD and dpxs.
// Above, with H=600 M=420 Z=3 MD=7.65 dpxs=0.97: 834.9353444385
void computeCoreWeight(SheetAccess& sheet);

enum class Action { StageThicknesses, GrossArea, NetArea, TotalStack, CoreWeight };

inline constexpr std::array<Action, 5> kAllActions = {Action::StageThicknesses, Action::GrossArea,
                                                      Action::NetArea, Action::TotalStack,
                                                      Action::CoreWeight};

// Batch-tool names: "stages", "gross-area", "net-area", "stack", "weight".
std::string_view actionName(Action action);
std::optional<Action> actionByName(std::string_view name);

void runAction(Action action, SheetAccess& sheet);

}  // namespace kalvitra
