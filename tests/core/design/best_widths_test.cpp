#include "kalvitra/design/best_widths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/cut_list.h"

namespace kalvitra::design {
namespace {

// The stage widths that lie on a grid, widest first, as a designer would
// list them by hand.
std::vector<double> gridWidthsByHand(double diameter, double grid, double minWidth) {
    std::vector<double> widths;
    for (long long m = static_cast<long long>(diameter / grid) + 1; m >= 1; --m) {
        const double width = readLenient(writeDefault(static_cast<double>(m) * grid));
        if (width < diameter && width >= minWidth) {
            widths.push_back(width);
        }
    }
    return widths;
}

// The largest ideal gross area of every subset of at most `stages` widths.
double exhaustiveBest(double diameter, const std::vector<double>& widths, int stages) {
    double best = -1.0;
    const unsigned subsets = 1u << widths.size();
    std::vector<double> chosen;
    for (unsigned mask = 1; mask < subsets; ++mask) {
        if (std::popcount(mask) > stages) {
            continue;
        }
        chosen.clear();
        for (std::size_t i = 0; i < widths.size(); ++i) {
            if (mask & (1u << i)) {
                chosen.push_back(widths[i]);
            }
        }
        best = std::max(best, idealGrossArea(diameter, chosen));
    }
    return best;
}

struct GridCase {
    const char* name;
    double diameter;
    int stages;
    double grid;
    double minWidth;
    friend void PrintTo(const GridCase& c, std::ostream* os) { *os << c.name; }
};

class GridOptimum : public testing::TestWithParam<GridCase> {};

TEST_P(GridOptimum, EqualsExhaustiveSearchToTheLastBit) {
    const GridCase& c = GetParam();
    const std::vector<double> candidates = gridWidthsByHand(c.diameter, c.grid, c.minWidth);
    ASSERT_LE(candidates.size(), 18u) << "keep the exhaustive search small";
    const StepWidths design = bestGridWidths(c.diameter, c.stages, c.grid, c.minWidth);

    EXPECT_EQ(design.grossArea, exhaustiveBest(c.diameter, candidates, c.stages));
    EXPECT_EQ(design.grossArea, idealGrossArea(c.diameter, design.widths))
        << "the reported area is the one compared";
    EXPECT_EQ(design.widths.size(),
              std::min<std::size_t>(static_cast<std::size_t>(c.stages), candidates.size()));
    for (std::size_t k = 0; k < design.widths.size(); ++k) {
        const double width = design.widths[k];
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), width), candidates.end())
            << "stage " << k + 1 << " width " << width << " is not on the grid";
        if (k > 0) {
            EXPECT_LT(width, design.widths[k - 1]) << "stage " << k + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SmallCases, GridOptimum,
                         testing::Values(GridCase{"D100_3stages_grid7", 100, 3, 7, 0},
                                         GridCase{"D13_4stages_grid1", 13, 4, 1, 0},
                                         GridCase{"D60_5stages_grid4_min10", 60, 5, 4, 10},
                                         GridCase{"D200_4stages_grid10_min20", 200, 4, 10, 20},
                                         GridCase{"D37_5_9stages_grid2_5", 37.5, 9, 2.5, 0},
                                         GridCase{"D0_9_3stages_grid0_1", 0.9, 3, 0.1, 0},
                                         GridCase{"D1_7_6stages_grid0_1_min0_3", 1.7, 6, 0.1, 0.3},
                                         GridCase{"D219_2stages_grid15", 219, 2, 15, 0},
                                         GridCase{"D25_9stages_grid2", 25, 9, 2, 0},
                                         GridCase{"D65_7stages_grid5", 65, 7, 5, 0},
                                         GridCase{"D1e6_3stages_grid7e4", 1e6, 3, 7e4, 0},
                                         GridCase{"D5_1stage_grid1_tie", 5, 1, 1, 0},
                                         GridCase{"D10_9stages_grid3_threeWidths", 10, 9, 3, 0},
                                         GridCase{"D10_2stages_grid4_minEqualsWidth", 10, 2, 4, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

// Widths whose grid multiples are not exact in binary come out as the
// decimals their texts show, and one equal to D in decimal is never used.
TEST(GridOptimum, DecimalGridWidthsAreTheirTexts) {
    const StepWidths design = bestGridWidths(0.7, 9, 0.1, 0);
    std::vector<std::string> texts;
    for (const double width : design.widths) {
        texts.push_back(writeDefault(width));
        EXPECT_EQ(width, readLenient(texts.back()));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"0.6", "0.5", "0.4", "0.3", "0.2", "0.1"}));
}

TEST(GridOptimum, TiesGoToTheWiderWidth) {
    // 3 × 4 = 4 × 3 and 6 × 8 = 8 × 6 exactly.
    EXPECT_EQ(bestGridWidths(5, 1, 1, 0).widths, std::vector<double>{4});
    EXPECT_EQ(bestGridWidths(10, 1, 2, 0).widths, std::vector<double>{8});
}

TEST(GridOptimum, NeverBeatsTheContinuousOptimumAndComesClose) {
    for (int stages = 1; stages <= kStageCount; ++stages) {
        const double continuous = bestWidths(1000, stages).grossArea;
        const double grid = bestGridWidths(1000, stages, 1, 0).grossArea;
        EXPECT_LE(grid, continuous) << stages;
        EXPECT_GT(grid, continuous * (1 - 1e-4)) << stages;
    }
}

// The continuous optimum's utilisation, to four places.
TEST(ContinuousOptimum, UtilisationByStageCount) {
    const double expected[] = {0.6366, 0.7869, 0.8510, 0.8860, 0.9079,
                               0.9228, 0.9337, 0.9419, 0.9483};
    for (int stages = 1; stages <= kStageCount; ++stages) {
        for (const double diameter : {1.0, 200.0, 1000.0}) {
            const StepWidths design = bestWidths(diameter, stages);
            ASSERT_EQ(design.widths.size(), static_cast<std::size_t>(stages));
            const double share = utilisation(diameter, design.grossArea);
            EXPECT_EQ(std::round(share * 1e4) / 1e4, expected[stages - 1])
                << stages << " stages, D " << diameter << ": " << share;
        }
    }
}

TEST(ContinuousOptimum, MiddleWidthIsDOverRootTwo) {
    for (const double diameter : {1.0, 200.0, 1000.0, 356.0}) {
        for (int stages = 1; stages <= kStageCount; stages += 2) {
            const double middle = bestWidths(diameter, stages).widths[(stages - 1) / 2];
            EXPECT_EQ(middle, std::sqrt(diameter * diameter / 2)) << diameter << " " << stages;
        }
    }
    EXPECT_EQ(writeDefault(bestWidths(1000, 5).widths[2]), "707.106781186548");
    EXPECT_EQ(writeDefault(bestWidths(200, 1).widths[0]), "141.42135623731");
}

// At the optimum every width is stationary: moving any one of them either way
// loses area, and the section is symmetric about its diagonal.
TEST(ContinuousOptimum, IsAStationaryMaximumMirroredAboutTheDiagonal) {
    const double diameter = 1000;
    for (int stages = 1; stages <= kStageCount; ++stages) {
        const StepWidths design = bestWidths(diameter, stages);
        for (int k = 0; k < stages; ++k) {
            const double width = design.widths[static_cast<std::size_t>(k)];
            const double mirrored = std::sqrt(
                diameter * diameter - design.widths[static_cast<std::size_t>(stages - 1 - k)] *
                                          design.widths[static_cast<std::size_t>(stages - 1 - k)]);
            EXPECT_NEAR(width, mirrored, 1e-9) << stages << " stages, stage " << k + 1;
            for (const double shift : {-1e-3, 1e-3}) {
                std::vector<double> moved = design.widths;
                moved[static_cast<std::size_t>(k)] += shift;
                EXPECT_LT(idealGrossArea(diameter, moved), design.grossArea)
                    << stages << " stages, stage " << k + 1 << " moved by " << shift;
            }
        }
    }
}

// The first-order conditions of the unit circle, in widths and heights only:
// g_k = 2 w_k² − 1 + h_(k−1) h_k − w_k w_(k+1), h_0 = 0, w_(n+1) = 0. At the
// optimum every g_k is zero to rounding; a width off in its 12th digit
// already shows.
TEST(ContinuousOptimum, EveryPartialDerivativeVanishes) {
    for (int stages = 1; stages <= kStageCount; ++stages) {
        const std::vector<double> w = bestWidths(1, stages).widths;
        for (int k = 0; k < stages; ++k) {
            const auto at = static_cast<std::size_t>(k);
            const double h = std::sqrt(1 - w[at] * w[at]);
            const double before = k == 0 ? 0.0 : std::sqrt(1 - w[at - 1] * w[at - 1]);
            const double after = k + 1 == stages ? 0.0 : w[at + 1];
            EXPECT_NEAR(2 * w[at] * w[at] - 1 + before * h - w[at] * after, 0.0, 4e-16)
                << stages << " stages, stage " << k + 1;
        }
    }
}

TEST(ContinuousOptimum, AMinimumWidthIsCheckedNotImposed) {
    EXPECT_EQ(bestWidths(1000, 9, 216).widths, bestWidths(1000, 9).widths);
    EXPECT_THROW(bestWidths(1000, 9, 217), DesignError);
}

TEST(ContinuousOptimum, ScalesWithTheDiameter) {
    for (int stages = 1; stages <= kStageCount; ++stages) {
        const StepWidths unit = bestWidths(1, stages);
        const StepWidths large = bestWidths(750, stages);
        for (std::size_t k = 0; k < unit.widths.size(); ++k) {
            EXPECT_NEAR(large.widths[k], 750 * unit.widths[k], 1e-12 * 750);
        }
    }
}

TEST(IdealGrossArea, IsTheUnionOfTheStageRectangles) {
    // One stage: the rectangle itself. Two stages 8 and 6 wide on D = 10:
    // 8 × 6 plus the 6-wide strip between heights 6 and 8.
    const double one[] = {6};
    EXPECT_EQ(idealGrossArea(10, one), 48);
    const double two[] = {8, 6};
    EXPECT_EQ(idealGrossArea(10, two), 48 + 6 * 2);
    const double tooWide[] = {8, 10};
    EXPECT_THROW(idealGrossArea(10, tooWide), DesignError);
}

struct DiameterCase {
    const char* name;
    DiameterQuestion question;
    friend void PrintTo(const DiameterCase& c, std::ostream* os) { *os << c.name; }
};

class SmallestDiameter : public testing::TestWithParam<DiameterCase> {};

bool reachesAt(const DiameterQuestion& q, double diameter) {
    try {
        const StepWidths design = bestGridWidths(diameter, q.stages, q.grid, q.minWidth);
        return netAreaCm2(design.grossArea, q.stackingFactor) >= q.netArea;
    } catch (const DesignError&) {
        return false;  // no width fits yet
    }
}

// Checked against trying every multiple of the step from the first one up.
TEST_P(SmallestDiameter, IsTheFirstStepMultipleThatReaches) {
    const DiameterQuestion& q = GetParam().question;
    const StepWidths design = smallestDiameter(q);
    double expected = 0;
    for (long long m = 1; m < 100000; ++m) {
        const double diameter = readLenient(writeDefault(static_cast<double>(m) * q.diameterStep));
        if (reachesAt(q, diameter)) {
            expected = diameter;
            break;
        }
    }
    EXPECT_EQ(design.diameter, expected);
    const StepWidths again = bestGridWidths(design.diameter, q.stages, q.grid, q.minWidth);
    EXPECT_EQ(design.widths, again.widths);
    EXPECT_EQ(design.grossArea, again.grossArea);
    EXPECT_GE(netAreaCm2(design.grossArea, q.stackingFactor), q.netArea);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmallestDiameter,
    testing::Values(DiameterCase{"Core289cm2_6stages", {289.499, 0.96, 6, 5, 5, 0}},
                    DiameterCase{"Core100cm2_9stages", {100, 0.97, 9, 5, 5, 0}},
                    DiameterCase{"Core50cm2_4stages_step2_5", {50, 0.95, 4, 2, 2.5, 0}},
                    DiameterCase{"CoarseGrid", {20, 0.9, 3, 50, 5, 0}},
                    DiameterCase{"MinWidth", {40, 1, 5, 5, 5, 60}},
                    DiameterCase{"TinyCore", {0.01, 0.96, 2, 0.1, 0.1, 0}},
                    DiameterCase{"StepFinerThanGrid", {75, 0.96, 7, 5, 0.5, 0}},
                    DiameterCase{"FactorOne", {300, 1, 9, 1, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SmallestDiameter, ThousandSquareCentimetreCore) {
    const StepWidths design = smallestDiameter({1000, 0.96, 9, 5, 5, 0});
    EXPECT_EQ(design.diameter, 375);
    EXPECT_EQ(design.widths, (std::vector<double>{365, 345, 320, 290, 260, 225, 185, 140, 80}));
    EXPECT_FALSE(reachesAt({1000, 0.96, 9, 5, 5, 0}, 370));
}

// The net area with the stacks floored to R, as the cut list has it; 0 when a
// step's stack rounds to 0 (no core).
double netAreaAsCut(const DiameterQuestion& q, double diameter) {
    try {
        const StepWidths design = bestGridWidths(diameter, q.stages, q.grid, q.minWidth);
        const workshop::Section section = {diameter, design.widths};
        return workshop::netArea(section, workshop::stepStacks(section, q.stackRound),
                                 q.stackingFactor) /
               100;
    } catch (const DesignError&) {
        return 0;
    }
}

class SmallestDiameterAsCut : public testing::TestWithParam<DiameterCase> {};

// Checked against the cut list's net area at every multiple of the step from
// the first one up: the answer is the first that reaches the target as cut.
TEST_P(SmallestDiameterAsCut, IsTheFirstStepMultipleThatReachesAsCut) {
    const DiameterQuestion& q = GetParam().question;
    const StepWidths design = smallestDiameter(q);
    double expected = 0;
    for (long long m = 1; m < 100000; ++m) {
        const double diameter = readLenient(writeDefault(static_cast<double>(m) * q.diameterStep));
        if (netAreaAsCut(q, diameter) >= q.netArea) {
            expected = diameter;
            break;
        }
    }
    EXPECT_EQ(design.diameter, expected);
    EXPECT_EQ(design.widths, bestGridWidths(design.diameter, q.stages, q.grid, q.minWidth).widths);
    DiameterQuestion ideal = q;
    ideal.stackRound = 0;
    EXPECT_GE(design.diameter, smallestDiameter(ideal).diameter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmallestDiameterAsCut,
    testing::Values(DiameterCase{"Target331_5cm2_R2", {331.5, 0.97, 8, 5, 5, 0, 2}},
                    DiameterCase{"Core282cm2_9stages_R2", {282.5, 0.97, 9, 5, 5, 0, 2}},
                    DiameterCase{"FineRounding", {1000, 0.96, 9, 5, 5, 0, 0.5}},
                    DiameterCase{"CoarseRounding", {1000, 0.96, 9, 5, 5, 0, 10}},
                    DiameterCase{"StepFinerThanGrid", {75, 0.96, 7, 5, 0.5, 0, 1}},
                    DiameterCase{"DecimalRounding", {50, 0.95, 4, 2, 2.5, 0, 0.3}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadQuestion {
    const char* name;
    std::function<void()> ask;
    DesignInput input;
    friend void PrintTo(const BadQuestion& c, std::ostream* os) { *os << c.name; }
};

class DesignRefuses : public testing::TestWithParam<BadQuestion> {};

TEST_P(DesignRefuses, NamesTheInput) {
    try {
        GetParam().ask();
        FAIL() << "no error";
    } catch (const DesignError& error) {
        EXPECT_EQ(error.input(), GetParam().input) << error.what();
        EXPECT_NE(std::string(error.what()), "");
    }
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, DesignRefuses,
    testing::Values(
        BadQuestion{"ZeroDiameter", [] { bestWidths(0, 3); }, DesignInput::Diameter},
        BadQuestion{"NegativeDiameter", [] { bestGridWidths(-200, 3, 5, 0); },
                    DesignInput::Diameter},
        BadQuestion{"NaNDiameter", [] { bestWidths(kNaN, 3); }, DesignInput::Diameter},
        BadQuestion{"InfiniteDiameter", [] { bestGridWidths(kInf, 3, 5, 0); },
                    DesignInput::Diameter},
        BadQuestion{"DiameterWhoseSquareOverflows", [] { bestWidths(1e200, 3); },
                    DesignInput::Diameter},
        BadQuestion{"DiameterWhoseSquareUnderflows", [] { bestGridWidths(1e-200, 3, 1e-201, 0); },
                    DesignInput::Diameter},
        BadQuestion{"StepBeyondTheLargestCore",
                    [] {
                        smallestDiameter({1, 0.96, 3, 5, 1e200, 0});
                    },
                    DesignInput::NetArea},
        BadQuestion{"MinWidthFarBeyondAnyCore",
                    [] {
                        smallestDiameter({10, 0.96, 3, 1e-10, 5, 1e200});
                    },
                    DesignInput::Grid},
        BadQuestion{"NoStages", [] { bestWidths(200, 0); }, DesignInput::Stages},
        BadQuestion{"TenStages", [] { bestGridWidths(200, 10, 5, 0); }, DesignInput::Stages},
        BadQuestion{"ZeroGrid", [] { bestGridWidths(200, 3, 0, 0); }, DesignInput::Grid},
        BadQuestion{"NaNGrid", [] { bestGridWidths(200, 3, kNaN, 0); }, DesignInput::Grid},
        BadQuestion{"GridAsWideAsD", [] { bestGridWidths(200, 3, 200, 0); }, DesignInput::Grid},
        BadQuestion{"NoGridWidthAboveMin", [] { bestGridWidths(200, 3, 30, 190); },
                    DesignInput::Grid},
        // Too many grid widths below a D that is given: D is named, the grid beside it.
        BadQuestion{"GridTooFine", [] { bestGridWidths(1000, 3, 0.001, 0); },
                    DesignInput::Diameter},
        BadQuestion{"MinWidthIsD", [] { bestGridWidths(200, 3, 5, 200); }, DesignInput::MinWidth},
        BadQuestion{"MinWidthAboveContinuousNarrowest", [] { bestWidths(1000, 9, 220); },
                    DesignInput::MinWidth},
        BadQuestion{"ContinuousMinWidthIsD", [] { bestWidths(200, 3, 200); },
                    DesignInput::MinWidth},
        BadQuestion{"NegativeMinWidth", [] { bestGridWidths(200, 3, 5, -1); },
                    DesignInput::MinWidth},
        BadQuestion{"ZeroNetArea",
                    [] {
                        smallestDiameter({0, 0.96, 6, 5, 5, 0});
                    },
                    DesignInput::NetArea},
        BadQuestion{"InfiniteNetArea",
                    [] {
                        smallestDiameter({kInf, 0.96, 6, 5, 5, 0});
                    },
                    DesignInput::NetArea},
        BadQuestion{"ZeroStackingFactor",
                    [] {
                        smallestDiameter({100, 0, 6, 5, 5, 0});
                    },
                    DesignInput::StackingFactor},
        BadQuestion{"StackingFactorAboveOne",
                    [] {
                        smallestDiameter({100, 1.01, 6, 5, 5, 0});
                    },
                    DesignInput::StackingFactor},
        BadQuestion{"ZeroStep",
                    [] {
                        smallestDiameter({100, 0.96, 6, 5, 0, 0});
                    },
                    DesignInput::DiameterStep},
        BadQuestion{"HugeAreaOnFineGrid",
                    [] {
                        smallestDiameter({1e6, 0.96, 6, 0.01, 5, 0});
                    },
                    DesignInput::Grid},
        BadQuestion{"AreaBeyondAnyCore",
                    [] {
                        smallestDiameter({1e300, 0.96, 6, 5, 5, 0});
                    },
                    DesignInput::Grid},
        BadQuestion{"NegativeStackRound",
                    [] {
                        smallestDiameter({331.5, 0.97, 8, 5, 5, 0, -2});
                    },
                    DesignInput::StackRound},
        BadQuestion{"StackRoundThatLeavesAStepNoStack",
                    [] {
                        smallestDiameter({331.5, 0.97, 8, 5, 5, 0, 150});
                    },
                    DesignInput::StackRound},
        BadQuestion{"StepTooFineToScanAsCut",
                    [] {
                        smallestDiameter({331.5, 0.97, 8, 5, 1e-5, 0, 2});
                    },
                    DesignInput::DiameterStep},
        BadQuestion{"StepTooFine",
                    [] {
                        smallestDiameter({1000, 0.96, 6, 5, 1e-20, 0});
                    },
                    DesignInput::DiameterStep}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvitra::design
