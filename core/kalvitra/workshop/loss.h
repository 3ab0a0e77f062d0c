#pragma once

#include <algorithm>
#include <optional>
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
    // The specific apparent power (magnetising VA/kg) at that B, on a curve
    // that gives it: on every point of the curve or on none.
    std::optional<double> specificApparentPower = std::nullopt;
};

// Specific loss, and perhaps apparent power, against flux density, B strictly
// increasing.
struct LossCurve {
    std::string name;
    std::vector<LossPoint> points;
    bool builtIn = false;  // one of builtInGrades(), whose refusals name the grade
};

// Typical 50 Hz curves of common grades; each curve's source is given where
// the table is. A typical value never exceeds the maximum that a grade's
// name guarantees. The supplier's curve rules for guarantees.
std::span<const LossCurve> builtInGrades();
// nullptr for a name that is none of them.
const LossCurve* findGrade(std::string_view name);
// The same, throwing DesignError(Grade) that lists the built-in names:
//   "M5" -> "no built-in grade of this name; the built-in grades are 23ZDMH, ..."
const LossCurve& builtInGrade(std::string_view name);

// A curve from a CSV of two columns "B,W/kg" or three "B,W/kg,VA/kg": an
// optional header line (one whose first field is not a number), then one
// point a line (blank lines, CRLF and a byte order mark are fine); the first
// point sets the number of columns. Throws DesignError(Curve) naming the line
// for a line that is not that many plain numbers (strict reading), fewer
// than two points, B not strictly increasing, or a negative value:
//   "B,W/kg\n1.5,0.83\n1.4,0.7\n" -> "line 3: the flux density must increase from line to line"
//   "1.5,0.83,1.1\n1.6,0.9\n"      -> "line 2: expected three numbers B,W/kg,VA/kg"
LossCurve readLossCurve(std::string_view text, std::string name);

// The B column and one value column of a curve file, as readLossCurve reads
// them, for a curve of another quantity: (text, JointCurve, "VA/cm2",
// "apparent power") refuses "line 2: expected two numbers B,VA/cm2" as
// DesignError(JointCurve).
struct CurveColumn {
    double fluxDensity = 0;
    double value = 0;
};
std::vector<CurveColumn> readCurveColumn(std::string_view text, DesignInput input,
                                         std::string_view unit, std::string_view quantity);

// Throws DesignError(FluxDensity) for a B outside the range of the curve
// named (as "the curve M4-0.27"): "the flux density 1.8 T lies outside the
// curve M4-0.27 (1.5 to 1.7 T); a curve is never extrapolated".
[[noreturn]] void refuseOutsideCurve(double fluxDensity, std::string_view curve, double lowest,
                                     double highest);

// Linear interpolation of value(point) at B between the points of a curve
// (B strictly increasing), the one rule of every curve: never extrapolated,
// a B outside refused by refuseOutsideCurve.
template <typename Point, typename Value>
double interpolateCurve(std::span<const Point> points, double fluxDensity, std::string_view curve,
                        Value value) {
    if (points.empty() ||
        !(fluxDensity >= points.front().fluxDensity && fluxDensity <= points.back().fluxDensity)) {
        refuseOutsideCurve(fluxDensity, curve, points.empty() ? 0 : points.front().fluxDensity,
                           points.empty() ? 0 : points.back().fluxDensity);
    }
    const auto above =
        std::lower_bound(points.begin(), points.end(), fluxDensity,
                         [](const Point& point, double b) { return point.fluxDensity < b; });
    if (above->fluxDensity == fluxDensity) {
        return value(*above);
    }
    const Point& high = *above;
    const Point& low = *(above - 1);
    return value(low) + (fluxDensity - low.fluxDensity) / (high.fluxDensity - low.fluxDensity) *
                            (value(high) - value(low));
}

// Linear interpolation in the curve. Throws DesignError(FluxDensity) for a B
// outside the curve's range, naming the range: never extrapolated.
//   (M4-0.27, 1.6352) -> 1.09448
double specificLoss(const LossCurve& curve, double fluxDensity);

// The curve's specific apparent power (VA/kg) at B, interpolated as the loss
// is. A curve without it is refused: a built-in grade as
// DesignError(Grade, "no VA/kg for this grade: give a curve with a third
// column"), a curve file as DesignError(Curve, "no VA/kg in this curve: ...").
double specificApparentPower(const LossCurve& curve, double fluxDensity);

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

// Asks question, a result at the flux given; when the volts per turn gave
// it, a flux density that a curve refuses (DesignError(FluxDensity)) is
// refused as the volts per turn, DesignError(VoltsPerTurn), in the curve's
// words.
template <typename Question>
auto asTheFluxWasGiven(const FluxGiven& flux, Question question) {
    if (flux.source == FluxSource::FluxDensity) {
        return question();
    }
    try {
        return question();
    } catch (const DesignError& error) {
        if (error.input() != DesignInput::FluxDensity) {
            throw;
        }
        throw DesignError(DesignInput::VoltsPerTurn, error.rule(), error.what());
    }
}

// The loss of a frame of that mass and net area, the flux given either way.
// A flux density outside the curve comes from the volts per turn when they
// gave it, so the refusal names them: DesignError(VoltsPerTurn), with the
// curve's words ("the flux density 1.9 T lies outside ...").
NoLoadLoss frameLoss(const LossCurve& curve, const FluxGiven& flux, double netAreaMm2, double mass,
                     double buildingFactor);

}  // namespace kalvitra::workshop
