#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/inputs/checks.h"

// From a three-phase transformer's rating to its core: the phase voltages of
// the connection, the turns of both windings and the volts per turn, the net
// area the flux density asks for, and the smallest core that has it as cut.
// Voltages in V unless a name says kV, areas in cm², lengths in mm.
//
// The chain, in this order, R(x) rounding half up:
//   1. U_ph = U·1000/√3 for a star winding, U·1000 for a delta;
//   2. e₀ = K_t·√S, S in kVA (the volts per turn when they are given);
//   3. N2 = max(1, R(U2_ph / e₀)); then e = U2_ph / N2;
//   4. N1 = max(1, R(U1_ph / e)); the ratio error is (N1/N2) / (U1_ph/U2_ph) − 1;
//   5. A = e / (√2·π·f·B), the exact √2·π of the loss;
//   6. D and the widths as design::smallestDiameter chooses them for A, with
//      the stacks as cut when a stack rounding is given;
//   7. B at that core = e / (√2·π·f·A_net), A_net the net area as cut.
//
//   500 kVA, 10/0.4 kV, Dyn11, 50 Hz, 1.6 T, K_t 0.45; 9 stages, grid 5,
//   step 5, F 0.97, R 2:
//     U1_ph 10000, U2_ph 230.94010767585, N2 23, e 10.0408742467761, N1 996,
//     ratio error +0.00710749788994658 %, A 282.498841026694 cm²,
//     D 200, widths 195 185 170 155 140 120 100 75 45, stacks 44 30 30 22 16 18 12 12 10,
//     net area as cut 287.023 cm², B 1.57478022891096 T

namespace kalvitra::rating {

enum class Winding { Star, Delta };

// A connection as its IEC symbol writes it: the HV winding in capitals, the
// LV winding in small letters, each D/d (delta) or Y/y (star), a star's
// neutral as N/n, then the clock number, the LV's lag behind the HV in
// units of 30°.
struct Connection {
    Winding hv = Winding::Delta;
    Winding lv = Winding::Star;
    bool hvNeutral = false;
    bool lvNeutral = false;
    std::optional<int> clock;  // 0..11, when written
};

// Reads a connection. A star and a star, or a delta and a delta, give an even
// clock number; a star and a delta an odd one.
//   "Dyn11" -> delta / star with neutral, 11;  "YNd11", "Yyn0", "Dd0", "Yd" (no clock)
// Throws DesignError(Connection): Reading for text that is no such symbol
//   "Dx7" -> "the connection is not an IEC symbol such as Dyn11: the HV winding D, Y
//             or YN, the LV winding d, y or yn, then the clock number 0 to 11",
// Range for a zigzag winding (z, Z), a single-phase one (I, i: "Ii0" -> "the
// connection is single-phase; the rating is of a three-phase transformer"), a
// clock number above 11, or one the windings cannot give:
//   "Dyn0" -> "the connection has the clock number 0, but a delta and a star
//              winding give an odd one".
Connection readConnection(std::string_view symbol);

// The turns of both windings are at most this many; more is no winding.
inline constexpr double kMaxTurns = 100000;

// Where the volts per turn come from: the factor K_t (e₀ = K_t·√S), or e₀
// itself.
struct VoltsPerTurnGiven {
    std::optional<double> voltsPerTurn;  // e₀ in V; without it, from the factor
    double factor = 0.45;                // K_t
};

struct Rating {
    double power = 0;      // S, kVA, three-phase
    double hvVoltage = 0;  // U1, kV line to line
    double lvVoltage = 0;  // U2, kV line to line
    Connection connection;
    double frequency = 50;   // Hz
    double fluxDensity = 0;  // B, T, the target
    VoltsPerTurnGiven volts;
};

// Steps 1 to 5.
struct Turns {
    double hvPhaseVoltage = 0;
    double lvPhaseVoltage = 0;
    double voltsPerTurn = 0;  // e, after the LV turns are rounded
    long long lvTurns = 0;
    long long hvTurns = 0;
    double ratioErrorPercent = 0;
    bool ratioBeyondTolerance = false;  // |ratio error| > kRatioTolerancePercent
    double netAreaRequired = 0;         // A, cm²
};

// The usual tolerance on the voltage ratio, in %.
inline constexpr double kRatioTolerancePercent = 0.5;

// Steps 1 to 5. Throws DesignError of the input: a rating, voltage,
// frequency, flux density, factor or volts per turn not above 0 (the
// catalogue's range), an HV line voltage below the LV one, a phase voltage or
// net area beyond the range of numbers, and more than kMaxTurns turns on
// either winding (naming the volts per turn, or the factor when they come
// from it).
Turns turnsOf(const Rating& rating);

// The core of the chain: D, its widths, the stacks as cut, their net area
// and the flux density in them.
struct RatedCore {
    Turns turns;
    design::StepWidths core;
    std::vector<double> stacks;  // both packets per step, floored to R when given
    double netArea = 0;          // cm², as cut
    double fluxDensity = 0;      // T, at the net area as cut
};

// The whole chain; section gives everything of design::DiameterQuestion but
// the net area, which the turns give. Throws what turnsOf throws, and what
// smallestDiameter throws for the section; a net area that no core reaches
// is refused naming the flux density, which asked for it.
RatedCore rateCore(const Rating& rating, design::DiameterQuestion section);

}  // namespace kalvitra::rating
