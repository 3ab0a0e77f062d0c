#pragma once

#include <span>
#include <string>
#include <vector>

#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet.h"

// Choosing the stage widths of a stepped limb before the calculations run.
// Every corner of every stage lies on the circle of diameter D: with widths
// w1 > w2 > ... > wn and h_k = sqrt(D² − w_k²), stage 1 is h1 thick and each
// later stage adds (h_k − h_(k−1))/2 on each side. Lengths in mm, areas in
// mm² unless a name says cm².

namespace kalvitra::design {

// Finer grids than this many widths below D are refused rather than left to
// run for minutes.
inline constexpr long long kMaxGridWidths = 20000;

// The inputs out of range are named as for every design question.
using kalvitra::DesignError;
using kalvitra::DesignInput;

// Ideal gross area Σ w_k (h_k − h_(k−1)), h_0 = 0, summed from stage 1 on.
// This is the area of the union of the stages' rectangles, before the
// thicknesses are rounded to the two decimals the stage-thickness action
// shows.
//   (200, {190})                          -> 11865.496196957 (190 × sqrt(3900))
//   (200, {190, 175, 155, 130, 100, 65})  -> 28949.1128179624 (the sheet shows
//                                            289.499 cm² from its rounded thicknesses)
// Throws DesignError(Diameter) when a width is not below D.
double idealGrossArea(double diameter, std::span<const double> widths);

// Area divided by the circle's πD²/4.
double utilisation(double diameter, double area);

// The widths of a stepped section for a diameter, and the area they give. grossArea is the very
// number the search compared: idealGrossArea(diameter, widths) to the last bit.
struct StepWidths {
    double diameter = 0;
    std::vector<double> widths;  // stage 1 first, strictly decreasing
    double grossArea = 0;        // mm²
};

// The widths that give the largest ideal gross area for n stages, 1..9, of
// any real value. The answer scales with D; the middle width of an odd n is
// exactly D/√2 and the widths mirror the thicknesses (w_(n+1−k) = h_k).
//   (1000, 1) -> {707.106781186548}, area 500000     utilisation 2/π = 0.6366
//   (1000, 2) -> {850.65080835204, 525.731112119134}      utilisation 0.7869
//   (200, 3)  -> {181.12913643046, 141.42135623731, 84.8070512160153}
//   (1, 9)    -> utilisation 0.9483
// Throws DesignError for D outside [kMinDiameter, kMaxDiameter], or n
// outside 1..9. minWidth only checks the answer: DesignError(MinWidth) when it is negative,
// not below D, or above the narrowest best width (0.216 D for nine stages),
// which only a grid can honour.
StepWidths bestWidths(double diameter, int stages, double minWidth = 0);

// The widths, multiples of grid at least minWidth and below D, strictly
// decreasing, at most n of them, that give the exact largest ideal gross
// area of all such sets. Every width below D adds area, so the answer has n
// stages unless the grid holds fewer widths. A width is the number its
// default text shows (3 × 0.1 is 0.3), so the written sheet says the same.
// Where sets tie to the last bit, the wider width wins at every stage:
//   (200, 6, 5, 0)  -> {190, 175, 155, 130, 95, 55}, area 28968.3598419397
//   (1, 3, 0.1, 0.2) -> {0.9, 0.7, 0.4}
//   (5, 1, 1, 0)    -> {4}   (3 × 4 and 4 × 3 are both 12)
//   (20, 9, 5, 0)   -> {15, 10, 5}   (the grid holds three widths below 20)
// Throws DesignError(Grid) when no multiple of the grid lies in
// [minWidth, D), or when there are more than kMaxGridWidths of them;
// DesignError of the input for D, n, grid or minWidth out of range (D as
// for bestWidths, minWidth >= 0 and below D).
StepWidths bestGridWidths(double diameter, int stages, double grid, double minWidth);

struct DiameterQuestion {
    double netArea = 0;         // cm², what the core must reach
    double stackingFactor = 0;  // in (0, 1]
    int stages = 0;
    double grid = 5;
    double diameterStep = 5;
    double minWidth = 0;
    double stackRound = 0;  // R, mm: the stacks as cut are floored to it; 0 for none
};

// Net area in cm² of an ideal gross area in mm²: gross / 100 × stacking
// factor, the number smallestDiameter compares with the target.
double netAreaCm2(double grossArea, double stackingFactor);

// The smallest diameter, a multiple of diameterStep, whose best grid widths
// reach the net area: netAreaCm2(bestGridWidths(D, ...).grossArea, F) >= A.
// The best area grows with D, so the search brackets the answer from the
// continuous optimum's bound and halves the bracket.
//   {1000 cm², F 0.96, 9 stages, grid 5, step 5}
//     -> D = 375, {365, 345, 320, 290, 260, 225, 185, 140, 80}, net 1005.23315557598 cm²
// With a stack rounding R the area that must reach A is the one as cut: the
// net area (workshop::netArea) of the stacks floored to R (workshop::stepStacks).
// Flooring only takes area away, so the ideal answer is a lower bound, and
// the multiples of the step are tried one by one up from it; a diameter at
// which a step's stack rounds to 0 is no core and is passed over.
//   {331.5 cm², F 0.97, 8 stages, grid 5, step 5}    -> D = 215, net 331.528196128190 cm²
//   the same with R 2 (as cut at 215 mm: 329.412 cm²) -> D = 220, net 345.32 cm² as cut
// Throws DesignError for an input out of range, DesignError(Grid) when the
// core would need more than kMaxGridWidths grid widths, and
// DesignError(NetArea) when no diameter up to kMaxDiameter reaches it. With R:
// DesignError(StackRound) when the diameters past which the ideal area would
// reach A whatever the flooring still leave a step without a stack (R is too
// coarse for the core), and DesignError(DiameterStep) when the step is so
// fine that more than kMaxGridWidths diameters lie in that range.
StepWidths smallestDiameter(const DiameterQuestion& question);

}  // namespace kalvitra::design
