// The no-load current term by term on cores worked by hand, the verdicts at
// the edges of their bands, the curves that carry VA/kg and the grades that
// do not, and every built-in grade against the maximum its name states.

#include "kalvitra/workshop/no_load_current.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <regex>
#include <string>

#include "kalvitra/workshop/guarantee.h"
#include "kalvitra/workshop/loss.h"

namespace kalvitra::workshop {
namespace {

// 1.2 VA/kg at 1.6 T and 1.6 at 1.7 T: round figures to work by hand.
const LossCurve kSteel =
    readLossCurve("B,W/kg,VA/kg\n1.5,0.8,1.0\n1.6,1.0,1.2\n1.7,1.3,1.6\n", "steel.csv");

TEST(ApparentPower, TermByTermOnCoresWorkedByHand) {
    const struct {
        const char* name;
        JointSet set;
        double factor;
        double b;
        double body;    // K_q · q(B) · m, m = 1000 kg
        double joints;  // n_j · f_j · q_j(B) · A, A = 300 cm²
    } cases[] = {
        // 1.3 · 1.2 · 1000; 6 joints · 1 · 2.74 · 300
        {"ThreeLimbsMitred", {JointKind::Mitred, 3}, 1.3, 1.6, 1560, 4932},
        // a step-lap joint takes half the VA of a mitred one
        {"ThreeLimbsStepLap", {JointKind::StepLap, 3}, 1.3, 1.6, 1560, 2466},
        // 4 corners and no centre limb
        {"TwoLimbsMitred", {JointKind::Mitred, 2}, 1.3, 1.6, 1560, 3288},
        // both curves halfway: q = 1.4, q_j = (2.74 + 3.71) / 2 = 3.225
        {"BetweenPointsFactorOne", {JointKind::Mitred, 3}, 1, 1.65, 1400, 5805},
    };
    for (const auto& c : cases) {
        const ApparentPower power =
            apparentPower(kSteel, typicalJointCurve(), {c.set, c.factor}, c.b, 1000, 30000);
        EXPECT_NEAR(power.body, c.body, 1e-9) << c.name;
        EXPECT_NEAR(power.joints, c.joints, 1e-9) << c.name;
        EXPECT_EQ(power.total, power.body + power.joints) << c.name;
    }
    // I0 = Q0 / (10 · S): 6492 VA of a 500 kVA rating is 1.2984 %.
    EXPECT_NEAR(noLoadCurrent(6492, 500), 1.2984, 1e-15);
    EXPECT_EQ(methodOf(1.3, JointKind::StepLap),
              "K_q*q(B)*m + n_j*f_j*q_j(B)*A_net (K_q=1.3, step-lap)");
}

TEST(Guarantee, VerdictBandsAtTheirEdges) {
    const double lossEdge = 480 * kNoLoadLossTolerance;
    const double currentEdge = 0.8 * kNoLoadCurrentTolerance;
    const double up = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        bool current;  // else the loss
        double value;
        double guaranteed;
        Verdict verdict;
        std::optional<double> margin;
    } cases[] = {
        {"LossBelow", false, 432, 480, Verdict::Within, 10},
        {"LossEqualKeepsTheGuarantee", false, 480, 480, Verdict::Within, 0},
        {"LossJustAbove", false, std::nextafter(480.0, up), 480, Verdict::WithinTolerance, {}},
        {"LossAtTheTolerance", false, lossEdge, 480, Verdict::WithinTolerance, -15},
        {"LossJustBeyond", false, std::nextafter(lossEdge, up), 480, Verdict::Beyond, {}},
        {"LossFarBeyond", false, 500, 400, Verdict::Beyond, -25},
        {"CurrentAtTheTolerance", true, currentEdge, 0.8, Verdict::WithinTolerance, {}},
        {"CurrentJustBeyond", true, std::nextafter(currentEdge, up), 0.8, Verdict::Beyond, {}},
        // 15 % above a current's guarantee is still inside its 30 %
        {"CurrentAtTheLossTolerance", true, 0.92, 0.8, Verdict::WithinTolerance, {}},
    };
    for (const auto& c : cases) {
        const GuaranteeCheck check = c.current ? checkNoLoadCurrent(c.value, c.guaranteed)
                                               : checkNoLoadLoss(c.value, c.guaranteed);
        EXPECT_EQ(verdictName(check.verdict), verdictName(c.verdict)) << c.name;
        EXPECT_EQ(check.margin >= 0, c.verdict == Verdict::Within) << c.name;
        if (c.margin) {
            EXPECT_NEAR(check.margin, *c.margin, 1e-12) << c.name;
        }
    }
}

TEST(SpecificApparentPower, FromTheThirdColumnOrRefusedNamingWhereItWasMissing) {
    EXPECT_EQ(specificApparentPower(kSteel, 1.6), 1.2);
    EXPECT_NEAR(specificApparentPower(kSteel, 1.55), 1.1, 1e-15);
    // Two columns read as they always have: no VA/kg, the same points.
    const LossCurve twoColumns = readLossCurve("B,W/kg\n1.5,0.8\n1.7,1.3\n", "plain.csv");
    ASSERT_EQ(twoColumns.points.size(), 2u);
    EXPECT_EQ(twoColumns.points[1].specificLoss, 1.3);
    EXPECT_FALSE(twoColumns.points[1].specificApparentPower);
    const struct {
        const char* name;
        const LossCurve* curve;
        DesignInput input;
        const char* message;
    } cases[] = {
        {"BuiltInGrade", &builtInGrade("30Q120"), DesignInput::Grade,
         "no VA/kg for this grade: give a curve with a third column"},
        {"TwoColumnFile", &twoColumns, DesignInput::Curve,
         "no VA/kg in this curve: give a curve with a third column"},
    };
    for (const auto& c : cases) {
        try {
            specificApparentPower(*c.curve, 1.6);
            ADD_FAILURE() << c.name << ": not refused";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), c.input) << c.name;
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
        // The loss of the same curve is still given.
        EXPECT_GT(specificLoss(*c.curve, 1.6), 0) << c.name;
    }
}

// The maximum loss at 1.7 T, 50 Hz that a name states: thickness, family
// (Chinese Q and QG, Baosteel's R, Nippon Steel's ZH and ZDKH), 100 times the
// maximum in W/kg.
std::optional<double> namedMaximumAt17(const std::string& name) {
    static const std::regex figure("^(18|20|23|27|30|35)(Q|QG|R|ZH|ZDKH)([0-9]{2,3})$");
    std::smatch match;
    if (!std::regex_match(name, match, figure)) {
        return std::nullopt;
    }
    return std::stod(match[3]) / 100;
}

TEST(BuiltInGrades, NoTypicalValueAboveTheMaximumTheNameStates) {
    // Names that state no figure at 1.7 T: the AISI M grades are guaranteed
    // at 1.5 T (and listed at 1.7 T in public tables), 23ZDMH states none.
    const struct {
        const char* name;
        std::optional<double> maxAt15;
        std::optional<double> maxAt17;
    } unnamed[] = {
        {"M3-0.23", 0.79, 1.04},
        {"M4-0.27", 0.89, 1.27},
        {"23ZDMH", std::nullopt, std::nullopt},
    };
    for (const LossCurve& grade : builtInGrades()) {
        SCOPED_TRACE(grade.name);
        EXPECT_TRUE(grade.builtIn);
        std::optional<double> maxAt15;
        std::optional<double> maxAt17 = namedMaximumAt17(grade.name);
        if (!maxAt17) {
            const auto found = std::find_if(std::begin(unnamed), std::end(unnamed),
                                            [&](const auto& u) { return u.name == grade.name; });
            ASSERT_NE(found, std::end(unnamed)) << "a grade whose name is not understood";
            maxAt15 = found->maxAt15;
            maxAt17 = found->maxAt17;
        }
        if (maxAt17) {
            EXPECT_LE(specificLoss(grade, 1.7), *maxAt17);
        }
        if (maxAt15) {
            EXPECT_LE(specificLoss(grade, 1.5), *maxAt15);
        }
        for (std::size_t k = 1; k < grade.points.size(); ++k) {
            EXPECT_GT(grade.points[k].specificLoss, grade.points[k - 1].specificLoss);
        }
    }
    for (const char* added : {"27Q110", "27ZH95", "23ZH90", "30Q130"}) {
        EXPECT_NE(findGrade(added), nullptr) << added;
    }
}

struct Refused {
    const char* name;
    std::function<void()> ask;
    DesignInput input;
    std::string message;
};

TEST(NoLoadCurrentRefuses, EachInputWithItsMessage) {
    const JointSet mitred{JointKind::Mitred, 3};
    const FluxGiven byVolts{FluxSource::VoltsPerTurn, 10, 50};
    const NoLoadLoss at17 = noLoadLoss(kSteel, 1.7, 1000, 1);
    const Refused cases[] = {
        {"JointsWord", [] { readJointKind("butt"); }, DesignInput::Joints,
         "the joints must be mitred or step-lap"},
        {"JointCurveLine", [] { readJointCurve("B,VA/cm2\n1.5,2\n1.6\n", "j.csv"); },
         DesignInput::JointCurve, "line 3: expected two numbers B,VA/cm2"},
        {"JointCurveNegative", [] { readJointCurve("1.5,2\n1.6,-2.7\n", "j.csv"); },
         DesignInput::JointCurve, "line 2: flux density and apparent power must not be negative"},
        {"OutsideTheJointCurve", [] { jointApparentPower(typicalJointCurve(), 1.72); },
         DesignInput::FluxDensity,
         "the flux density 1.72 T lies outside the joint curve typical (1.5 to 1.7 T); a curve "
         "is never extrapolated"},
        // the volts per turn drove B past the steel's curve
        {"OutsideByTheVolts",
         [&] {
             NoLoadLoss beyond = at17;
             beyond.fluxDensity = 1.75;
             frameApparentPower(kSteel, typicalJointCurve(), {mitred}, byVolts, beyond, 30000);
         },
         DesignInput::VoltsPerTurn,
         "the flux density 1.75 T lies outside the curve steel.csv (1.5 to 1.7 T); a curve is "
         "never extrapolated"},
        {"PowerBeyondRange",
         [] {
             apparentPower(kSteel, typicalJointCurve(), {{}, 2}, 1.6, 1e308, 1);
         },
         DesignInput::Mass, "the apparent power of this mass is beyond the range of numbers"},
    };
    for (const Refused& c : cases) {
        try {
            c.ask();
            ADD_FAILURE() << c.name << ": not refused";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), c.input) << c.name;
            EXPECT_EQ(error.what(), c.message) << c.name;
        }
    }
}

}  // namespace
}  // namespace kalvitra::workshop
