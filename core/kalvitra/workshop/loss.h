#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/inputs/checks.h"

// What a core loses at no load: the loss curves of the steel grades, the
// flux density a winding drives through the limb, and the loss of the frame.

namespace kalvitra::workshop {

struct LossPoint {
    double fluxDensity = 0;   // T
    double specificLoss = 0;  // W/kg
};

// Specific loss against flux density, B strictly increasing.
struct LossCurve {
    std::string name;
    std::vector<LossPoint> points;
};

// Typical 50 Hz curves of common grades, from public grade tables; the
// supplier's curve rules for guarantees.
std::span<const LossCurve> builtInGrades();
// nullptr for a name that is none of them.
const LossCurve* findGrade(std::string_view name);
// The same, throwing DesignError(Grade) that lists the built-in names:
//   "M5" -> "no built-in grade of this name; the built-in grades are 23ZDMH, ..."
const LossCurve& builtInGrade(std::string_view name);

// A curve from a two-column CSV "B,W/kg": an optional header line (one whose
// first field is not a number), then one point a line (blank lines, CRLF and
// a byte order mark are fine). Throws
// DesignError(Curve) naming the line for a line that is not two plain
// numbers (strict reading), fewer than two points, B not strictly
// increasing, or a negative value:
//   "B,W/kg\n1.5,0.83\n1.4,0.7\n" -> "line 3: the flux density must increase from line to line"
LossCurve readLossCurve(std::string_view text, std::string name);

// Linear interpolation in the curve. Throws DesignError(FluxDensity) for a B
// outside the curve's range, naming the range: never extrapolated.
//   (M4-0.27, 1.6352) -> 1.09448
double specificLoss(const LossCurve& curve, double fluxDensity);

// The peak flux density a winding of E volts per turn drives through a net
// area A at frequency F: B = E / (√2·π·F·A), A in m², with the exact √2·π
// (4.44 is its rounding). Throws DesignError(VoltsPerTurn) or (Frequency)
// for E or F not above 0, and DesignError(VoltsPerTurn) when B leaves the
// range of numbers.
//   (18, 50, 50000) -> 1.62056936908279 (4.44 would give 1.62162162162162)
double fluxDensityOf(double voltsPerTurn, double frequency, double netAreaMm2);

struct NoLoadLoss {
    double fluxDensity = 0;     // T
    double specificLoss = 0;    // W/kg
    double mass = 0;            // kg
    double buildingFactor = 1;  // K
    double loss = 0;            // P0 = K · p(B) · mass, W
};

// Throws DesignError for B, mass or K not above 0, what specificLoss
// throws, and DesignError(Mass) when the loss leaves the range of numbers.
//   (M4-0.27, 1.6352 T, 1123.6 kg, 1.25) -> 1537 W
NoLoadLoss noLoadLoss(const LossCurve& curve, double fluxDensity, double mass,
                      double buildingFactor);

// How the flux is given: the flux density itself, or the volts per turn
// (with the frequency), which drive it through the limb's net area.
enum class FluxSource { FluxDensity, VoltsPerTurn };

struct FluxGiven {
    FluxSource source = FluxSource::FluxDensity;
    double value = 0;       // B in T, or E in V
    double frequency = 50;  // Hz, for E
};

// The loss of a frame of that mass and net area, the flux given either way.
// A flux density outside the curve comes from the volts per turn when they
// gave it, so the refusal names them: DesignError(VoltsPerTurn), with the
// curve's words ("the flux density 1.9 T lies outside ...").
NoLoadLoss frameLoss(const LossCurve& curve, const FluxGiven& flux, double netAreaMm2, double mass,
                     double buildingFactor);

}  // namespace kalvitra::workshop
