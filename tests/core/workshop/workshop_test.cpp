#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/loss.h"

namespace kalvitra::workshop {
namespace {

// The published 196 mm core: H 760, M 364, three limbs, stacks rounded to 2 mm.
const Section kCore196 = {196, {190, 180, 160, 140, 120, 100, 65, 30}};
const Frame kFrame196 = {760, 364, 3, 7.65, 0.97};

CutList core196(std::optional<double> sheetThickness = std::nullopt) {
    return cutList(kCore196, kFrame196, {2, sheetThickness});
}

const CutRow& rowOf(const CutList& list, int step, Piece piece) {
    const auto found = std::find_if(list.rows.begin(), list.rows.end(), [&](const CutRow& row) {
        return row.step == step && row.piece == piece;
    });
    EXPECT_NE(found, list.rows.end());
    return *found;
}

TEST(Published196, StacksAndLengthsAsPublished) {
    const CutList list = core196();
    EXPECT_EQ(list.stacks, (std::vector<double>{48, 28, 36, 24, 18, 14, 16, 8}));
    const struct {
        const char* name;
        int step;
        Piece piece;
        double shortLength;
        double longLength;
    } published[] = {
        {"CentreStep3", 3, Piece::CentreLimb, 790, 950},
        {"YokeStep7", 7, Piece::Yoke, 663, 793},
        {"OuterStep5", 5, Piece::OuterLimb, 830, 1070},
    };
    for (const auto& p : published) {
        const CutRow& row = rowOf(list, p.step, p.piece);
        EXPECT_EQ(row.shortLength, p.shortLength) << p.name;
        EXPECT_EQ(row.longLength, p.longLength) << p.name;
    }
    EXPECT_NEAR(list.frameMass, 865.07239176, 1e-9);
}

// The frame mass in closed form: ρk (n_L·A·L + 2(n_L − 1)·C·A − (n_L − 2)·Σ w²s).
double closedFormMass(const CutList& list) {
    double a = 0;
    double squares = 0;
    for (std::size_t k = 0; k < list.stacks.size(); ++k) {
        const double w = list.section.widths[k];
        a += w * list.stacks[k];
        squares += w * w * list.stacks[k];
    }
    const Frame& f = list.frame;
    const double n = f.limbs;
    return f.density * f.stackingFactor *
           (n * a * list.limbLength + 2 * (n - 1) * f.centreDistance * a - (n - 2) * squares) / 1e6;
}

// Shoelace area of a closed polygon.
double areaOf(const std::vector<Vertex>& polygon) {
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Vertex& a = polygon[i];
        const Vertex& b = polygon[(i + 1) % polygon.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2;
}

// Random cores a designer might draw: 1 to 9 decreasing widths, 2 to 5 limbs,
// stacks rounded or not.
CutList randomCore(std::mt19937& random) {
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    Section section;
    section.diameter = std::round(uniform(80, 1200));
    const int stages = std::uniform_int_distribution<int>(1, 9)(random);
    double width = section.diameter;
    for (int k = 0; k < stages; ++k) {
        width = std::floor(width * uniform(0.75, 0.97));
        section.widths.push_back(width);
    }
    const Frame frame = {
        std::round(uniform(200, 3000)), std::round(section.widths.front() * uniform(1.05, 3)),
        std::uniform_int_distribution<int>(2, 5)(random), uniform(7.5, 7.8), uniform(0.94, 0.98)};
    const double round = random() % 2 ? 0.0 : 0.5;
    return cutList(section, frame, {round, std::nullopt});
}

TEST(FrameMass, ClosedFormEqualsTheRowSumAndOutlinesTheirPlateAreas) {
    std::mt19937 random(13);
    for (int i = 0; i < 300; ++i) {
        CutList list;
        try {
            list = randomCore(random);
        } catch (const DesignError&) {
            continue;  // a step too thin for the rounding
        }
        EXPECT_NEAR(list.frameMass, closedFormMass(list), 1e-12 * list.frameMass) << i;
        for (const CutRow& row : list.rows) {
            EXPECT_NEAR(areaOf(pieceOutline(list, row)), row.plateArea, 1e-9 * row.plateArea)
                << i << " step " << row.step << " " << pieceName(row.piece);
        }
    }
}

// ---- loss curves ---------------------------------------------------------

TEST(SpecificLoss, InterpolatesInsideTheCurveAndRefusesOutside) {
    const LossCurve& m4 = builtInGrade("M4-0.27");
    const struct {
        const char* name;
        double b;
        std::optional<double> loss;  // none: refused
    } cases[] = {
        {"LowestPoint", 1.5, 0.83},
        {"HighestPoint", 1.7, 1.25},
        {"BetweenPoints", 1.55, 0.92},
        {"JustBelow", 1.4999999, std::nullopt},
        {"JustAbove", 1.7000001, std::nullopt},
        {"FarAbove", 2.0, std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.loss) {
            EXPECT_NEAR(specificLoss(m4, c.b), *c.loss, 1e-12) << c.name;
            continue;
        }
        try {
            specificLoss(m4, c.b);
            ADD_FAILURE() << c.name << ": extrapolated";
        } catch (const DesignError& error) {
            EXPECT_EQ(error.input(), DesignInput::FluxDensity) << c.name;
            EXPECT_NE(std::string(error.what()).find("(1.5 to 1.7 T)"), std::string::npos)
                << error.what();
        }
    }
}

TEST(LossCurveFile, HeaderBlankLinesLineEndsAndByteOrderMark) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"HeaderAndCrlf", "B,W/kg\r\n1.5,0.83\r\n\r\n1.7,1.25"},
        {"ByteOrderMarkBeforeAPoint",
         "\xEF\xBB\xBF"
         "1.5,0.83\n1.7,1.25\n"},
        {"ThreeColumnsWithHeader", "B,W/kg,VA/kg\n1.5,0.83,1.1\n1.7,1.25,1.9\n"},
    };
    for (const auto& c : cases) {
        const LossCurve curve = readLossCurve(c.text, c.name);
        ASSERT_EQ(curve.points.size(), 2u) << c.name;
        EXPECT_EQ(curve.points[0].fluxDensity, 1.5) << c.name;
        EXPECT_EQ(curve.points[1].specificLoss, 1.25) << c.name;
    }
}

// ---- the inputs the workshop refuses ---------------------------------------

Sheet sheet196(std::initializer_list<std::pair<Field, const char*>> changes) {
    Sheet sheet;
    for (const auto& [field, text] : {std::pair{Field::D, "196"},
                                      {Field::PK1, "190"},
                                      {Field::PK2, "180"},
                                      {Field::H, "760"},
                                      {Field::M, "364"},
                                      {Field::Z, "3"},
                                      {Field::dpxs, "0.97"}}) {
        sheet.setText(field, text);
    }
    for (const auto& [field, text] : changes) {
        sheet.setText(field, text);
    }
    return sheet;
}

void fromSheet(const Sheet& sheet) {
    cutList(sectionOfSheet(sheet), frameOfSheet(sheet), {});
}

struct Refused {
    const char* name;
    std::function<void()> ask;
    DesignInput input;
    std::string message;
};

TEST(WorkshopRefuses, EachInputOutOfRangeWithItsMessage) {
    const LossCurve& m4 = builtInGrade("M4-0.27");
    const Refused cases[] = {
        {"LimbsOne",
         [] {
             fromSheet(sheet196({{Field::Z, "1"}}));
         },
         DesignInput::Limbs, "the number of limbs must be a whole number from 2 to 1000"},
        {"StackingFactorPercent",
         [] {
             fromSheet(sheet196({{Field::dpxs, "97"}}));
         },
         DesignInput::StackingFactor,
         "the stacking factor must be a number greater than 0 and at most 1"},
        {"LimbsOverlap",
         [] {
             fromSheet(sheet196({{Field::M, "190"}}));
         },
         DesignInput::CentreDistance,
         "the centre distance 190 is not above the widest width 190; the limbs would overlap"},
        {"DensityCarriesMassOutOfRange",
         [] {
             fromSheet(sheet196({{Field::MD, "1e306"}}));
         },
         DesignInput::Density, "the density gives a frame mass beyond the range of numbers"},
        {"WindowHeightBeyondDoubles",
         [] {
             fromSheet(sheet196({{Field::H, "12332e66666"}}));
         },
         DesignInput::WindowHeight, "the window height is a number beyond the double range"},
        {"WidthBeyondDoubles",
         [] {
             fromSheet(sheet196({{Field::PK2, "1e999"}}));
         },
         DesignInput::Widths, "stage 2 (PK2): the width is a number beyond the double range"},
        {"StackRoundNegative", [] { stepStacks(kCore196, -2); }, DesignInput::StackRound,
         "the stack rounding must be a number greater than 0"},
        {"StackRoundTooFineToCount", [] { stepStacks(kCore196, 1e-300); }, DesignInput::StackRound,
         "the stack rounding is too fine for the diameter"},
        {"SheetThicknessZero",
         [] {
             cutList(kCore196, kFrame196, {0, 0.0});
         },
         DesignInput::SheetThickness, "the sheet thickness must be a number greater than 0"},
        {"NoPairOfSheets",
         [] {
             cutList(kCore196, kFrame196, {2, 10.0});
         },
         DesignInput::SheetThickness,
         "step 8: its stack of 8 mm holds no pair of sheets 10 mm thick"},
        {"FluxDensityZero", [&] { noLoadLoss(m4, 0, 100, 1); }, DesignInput::FluxDensity,
         "the flux density must be a number greater than 0"},
        {"LossBeyondRange", [&] { noLoadLoss(m4, 1.6, 1e308, 10); }, DesignInput::Mass,
         "the loss of this mass is beyond the range of numbers"},
        {"VoltsPerTurnZero", [] { fluxDensityOf(0, 50, 1e4); }, DesignInput::VoltsPerTurn,
         "the voltage per turn must be a number greater than 0"},
        {"FluxDensityBeyondRange", [] { fluxDensityOf(1e300, 1e-300, 1e-10); },
         DesignInput::VoltsPerTurn,
         "the voltage per turn gives a flux density beyond the range of numbers"},
        {"CurveNotNumeric", [] { readLossCurve("B,W/kg\n1.5,0.83\n1.6,x\n", "c"); },
         DesignInput::Curve, "line 3: expected two numbers B,W/kg"},
        {"CurveColumnsChange", [] { readLossCurve("1.5,0.83,1\n1.6,0.9\n", "c"); },
         DesignInput::Curve, "line 2: expected three numbers B,W/kg,VA/kg"},
        {"CurveFourColumns", [] { readLossCurve("1.5,0.83,1,2\n1.6,0.9,1,2\n", "c"); },
         DesignInput::Curve, "line 1: expected two numbers B,W/kg"},
        {"CurveNegativeApparentPower", [] { readLossCurve("1.5,0.83,1\n1.6,0.9,-1\n", "c"); },
         DesignInput::Curve, "line 2: flux density, loss and apparent power must not be negative"},
        {"CurveOnePoint", [] { readLossCurve("B,W/kg\n1.5,0.83\n", "c"); }, DesignInput::Curve,
         "a curve needs at least two points"},
        {"CurveNegativeLoss", [] { readLossCurve("1.5,0.83\n1.6,-1\n", "c"); }, DesignInput::Curve,
         "line 2: flux density and loss must not be negative"},
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
