#include "kalvitra/workshop/no_load_current.h"

#include <cmath>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra::workshop {

JointKind readJointKind(std::string_view word) {
    if (word == "mitred") {
        return JointKind::Mitred;
    }
    if (word == "step-lap") {
        return JointKind::StepLap;
    }
    throw DesignError(DesignInput::Joints, DesignRule::Range,
                      "the joints must be mitred or step-lap");
}

std::string_view jointKindName(JointKind kind) {
    return kind == JointKind::Mitred ? "mitred" : "step-lap";
}

StepLapLayout stepLapLayout(double stepsPerBook, double sheetsPerStep) {
    checkInput(DesignInput::StepLapSteps, stepsPerBook);
    checkInput(DesignInput::StepLapSheets, sheetsPerStep);
    return {static_cast<int>(stepsPerBook), static_cast<int>(sheetsPerStep)};
}

const JointCurve& typicalJointCurve() {
    static const JointCurve typical = {"typical", {{1.5, 2.00}, {1.6, 2.74}, {1.7, 3.71}}};
    return typical;
}

JointCurve readJointCurve(std::string_view text, std::string name) {
    JointCurve curve{std::move(name), {}};
    for (const CurveColumn& point :
         readCurveColumn(text, DesignInput::JointCurve, "VA/cm2", "apparent power")) {
        curve.points.push_back({point.fluxDensity, point.value});
    }
    return curve;
}

double jointApparentPower(const JointCurve& curve, double fluxDensity) {
    return interpolateCurve(std::span(curve.points), fluxDensity, "the joint curve " + curve.name,
                            [](const JointPoint& point) { return point.apparentPower; });
}

int jointCount(const JointSet& joints) {
    return 2 * joints.limbs;
}

double jointFactor(JointKind kind) {
    return kind == JointKind::Mitred ? 1.0 : 0.5;
}

ApparentPower apparentPower(const LossCurve& curve, const JointCurve& jointCurve,
                            const ApparentPowerInputs& inputs, double fluxDensity, double mass,
                            double netAreaMm2) {
    checkInput(DesignInput::ApparentPowerFactor, inputs.factor);
    ApparentPower power;
    power.fluxDensity = fluxDensity;
    power.specificApparentPower = specificApparentPower(curve, fluxDensity);
    power.jointApparentPower = jointApparentPower(jointCurve, fluxDensity);
    power.body = inputs.factor * power.specificApparentPower * mass;
    power.joints = jointCount(inputs.joints) * jointFactor(inputs.joints.kind) *
                   power.jointApparentPower * (netAreaMm2 / 100.0);
    power.total = power.body + power.joints;
    if (!std::isfinite(power.total)) {
        throw DesignError(DesignInput::Mass,
                          "the apparent power of this mass is beyond the range of numbers");
    }
    return power;
}

ApparentPower frameApparentPower(const LossCurve& curve, const JointCurve& jointCurve,
                                 const ApparentPowerInputs& inputs, const FluxGiven& flux,
                                 const NoLoadLoss& loss, double netAreaMm2) {
    return asTheFluxWasGiven(flux, [&] {
        return apparentPower(curve, jointCurve, inputs, loss.fluxDensity, loss.mass, netAreaMm2);
    });
}

double noLoadCurrent(double apparentPower, double ratedPower) {
    checkInput(DesignInput::RatedPower, ratedPower);
    return apparentPower / (10.0 * ratedPower);
}

std::string methodOf(double factor, JointKind kind) {
    return std::string(kApparentPowerFormula) + " (K_q=" + writeDefault(factor) + ", " +
           std::string(jointKindName(kind)) + ")";
}

}  // namespace kalvitra::workshop
