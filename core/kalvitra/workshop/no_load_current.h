#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/workshop/loss.h"

// The no-load current of a core: the apparent power that magnetises its
// steel and its joints, and that power as a share of the rating.
//
//   Q0 = K_q · q(B) · m + n_j · f_j · q_j(B) · A_net
//   I0 = Q0 / (10 · S)   in %, S in kVA
//
// q(B) is the steel curve's VA/kg, m the frame mass; q_j(B) the joints' VA per
// cm² of the limb's net area A_net; n_j = 2 · n_L joints (4 corners and 2 at
// every centre limb); f_j 1 for mitred joints and 0.5 for step-lap ones. The
// methods in use differ by a factor of three on one core, so every answer
// names the one it applied (methodOf).

namespace kalvitra::workshop {

enum class JointKind { Mitred, StepLap };

// "mitred" or "step-lap"; throws DesignError(Joints) for any other word.
JointKind readJointKind(std::string_view word);
std::string_view jointKindName(JointKind kind);

// A step-lap joint as the shop lays it: kept for the cut list's title and
// the report; the apparent power depends on the kind of joint alone.
struct StepLapLayout {
    int stepsPerBook = 0;
    int sheetsPerStep = 0;
};

// The joints as the cut list's title records them: the kind, and for
// step-lap joints the counts when given.
struct JointLayout {
    JointKind kind = JointKind::Mitred;
    std::optional<StepLapLayout> stepLap;
};

// The layout of those counts; throws DesignError(StepLapSteps) or
// (StepLapSheets) for a count that is not a whole number from 1 to 100.
StepLapLayout stepLapLayout(double stepsPerBook, double sheetsPerStep);

struct JointPoint {
    double fluxDensity = 0;    // T
    double apparentPower = 0;  // VA per cm² of net area
};

// A joint's apparent power against flux density, B strictly increasing.
struct JointCurve {
    std::string name;
    std::vector<JointPoint> points;
};

// Typical figures of a 45° joint: 2.00, 2.74 and 3.71 VA/cm² at 1.5, 1.6 and
// 1.7 T, named "typical".
const JointCurve& typicalJointCurve();

// A joint curve from a CSV "B,VA/cm2", read as a loss curve file is; throws
// DesignError(JointCurve) naming the line as readLossCurve does.
JointCurve readJointCurve(std::string_view text, std::string name);

// Interpolated as the loss is, never extrapolated: DesignError(FluxDensity)
// outside, naming the joint curve. (typical, 1.55) -> 2.37
double jointApparentPower(const JointCurve& curve, double fluxDensity);

inline constexpr double kDefaultApparentPowerFactor = 1.3;  // K_q

struct JointSet {
    JointKind kind = JointKind::Mitred;
    int limbs = 3;  // n_L
};

// n_j = 2 · n_L and f_j of the kind.
int jointCount(const JointSet& joints);
double jointFactor(JointKind kind);

struct ApparentPower {
    double fluxDensity = 0;            // T
    double specificApparentPower = 0;  // q(B), VA/kg
    double jointApparentPower = 0;     // q_j(B), VA/cm²
    double body = 0;                   // K_q · q(B) · m, VA
    double joints = 0;                 // n_j · f_j · q_j(B) · A_net, VA
    double total = 0;                  // Q0, VA
};

// What the apparent power is made of besides the steel's curve.
struct ApparentPowerInputs {
    JointSet joints;
    double factor = kDefaultApparentPowerFactor;  // K_q
};

// Q0 of a frame of mass m (kg) and net area (mm²) at B. Throws
// DesignError(ApparentPowerFactor) for K_q not above 0, what
// specificApparentPower and jointApparentPower throw, and DesignError(Mass)
// when the power leaves the range of numbers.
//   (a curve of 1.2 VA/kg at 1.6 T, typical joints, 3 limbs mitred, K_q 1.3;
//    1.6 T, 1000 kg, 30000 mm²)
//   -> body 1560, joints 6 · 1 · 2.74 · 300 = 4932, total 6492 VA
ApparentPower apparentPower(const LossCurve& curve, const JointCurve& jointCurve,
                            const ApparentPowerInputs& inputs, double fluxDensity, double mass,
                            double netAreaMm2);

// The same for the frame whose loss is given, at its flux density and mass,
// the flux given as for frameLoss: a B outside a curve that the volts per
// turn drove is refused as theirs, DesignError(VoltsPerTurn).
ApparentPower frameApparentPower(const LossCurve& curve, const JointCurve& jointCurve,
                                 const ApparentPowerInputs& inputs, const FluxGiven& flux,
                                 const NoLoadLoss& loss, double netAreaMm2);

// I0 = Q0 / (10 · S) in %, S in kVA. Throws DesignError(RatedPower) for S not
// above 0. (6492 VA, 500 kVA) -> 1.2984
double noLoadCurrent(double apparentPower, double ratedPower);

// The method applied, ASCII and stable for scripts that read it:
//   (1.3, Mitred) -> "K_q*q(B)*m + n_j*f_j*q_j(B)*A_net (K_q=1.3, mitred)"
std::string methodOf(double factor, JointKind kind);

// The formula that methodOf names, for a front end to word the rest.
inline constexpr std::string_view kApparentPowerFormula = "K_q*q(B)*m + n_j*f_j*q_j(B)*A_net";

}  // namespace kalvitra::workshop
