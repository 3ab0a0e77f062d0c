#include "kalvitra/design/evaluation.h"

#include <gtest/gtest.h>

#include "kalvitra/text/numbers.h"
#include "kalvitra/text/typed_numbers.h"

using namespace kalvitra;
using namespace kalvitra::core_design;

namespace {

// The published 196 mm core, its widths as given.
Inputs publishedCore() {
    Inputs inputs;
    inputs.widthMode = WidthMode::AsGiven;
    return inputs;
}

Design designOf(const Inputs& inputs) {
    Evaluation evaluation = evaluate(inputs, drawing::Language::English);
    EXPECT_TRUE(evaluation.problems.empty())
        << (evaluation.problems.empty() ? "" : evaluation.problems.front().message);
    return evaluation.design.value_or(Design{});
}

}  // namespace

TEST(TypedNumbers, FullWidthFormsReadAsTheirCharacters) {
    const struct {
        std::string_view typed;
        double value;
        PlainNumberProblem problem;
    } cases[] = {
        {"１９６．５", 196.5, PlainNumberProblem::None},
        {"\u3000－１Ｅ３ ", -1000, PlainNumberProblem::None},
        {"\u22122.5", -2.5, PlainNumberProblem::None},
        {"１９６，５", 0, PlainNumberProblem::DecimalComma},
        {"196。5", 0, PlainNumberProblem::NotANumber},
        {"1E+309", 0, PlainNumberProblem::OutOfRange},
        {"NaN", 0, PlainNumberProblem::NotANumber},
        {"😀", 0, PlainNumberProblem::NotANumber},
        {"\xEF\xBC", 0, PlainNumberProblem::NotANumber},  // cut inside a character
    };
    for (const auto& c : cases) {
        const PlainReading reading = readTypedNumber(c.typed);
        EXPECT_EQ(reading.problem, c.problem) << c.typed;
        if (c.problem == PlainNumberProblem::None) {
            EXPECT_EQ(reading.value, c.value) << c.typed;
        }
    }
}

TEST(Evaluation, PublishedCoreGivesItsFrameMassAndTheSheetsAnswers) {
    const Design design = designOf(publishedCore());
    EXPECT_EQ(twoDecimals(design.frameMass), "865.07");
    EXPECT_EQ(design.sheet.textRef(Field::jh1), "0048.12");
    EXPECT_EQ(design.stages.size(), 8u);
    EXPECT_EQ(design.stages[0].stack, 48);
    EXPECT_EQ(design.stages[0].sheets, 172);
    EXPECT_EQ(design.section.marks.empty(), false);
    EXPECT_EQ(design.cutList.rows.size(), 24u);
    EXPECT_EQ(design.loss.mass, design.frameMass);
    EXPECT_EQ(design.curveName, "M4-0.27");
}

TEST(Evaluation, EveryWidthModeGivesAWholeDesign) {
    Inputs best;
    EXPECT_EQ(designOf(best).widths, (std::vector<double>{190, 180, 165, 150, 130, 105, 80, 45}));

    Inputs find;
    find.widthMode = WidthMode::FindDiameter;
    find.netArea = 280;
    find.stackingFactor = 0.96;
    find.stages = 6;
    find.stackRound = 0;
    const Design found = designOf(find);
    EXPECT_EQ(found.diameter, 205);
    EXPECT_EQ(found.widths, (std::vector<double>{195, 180, 160, 135, 100, 60}));

    Inputs volts = publishedCore();
    volts.fluxSource = FluxSource::VoltsPerTurn;
    volts.voltsPerTurn = 9.8;
    const Design byVoltage = designOf(volts);
    EXPECT_NEAR(byVoltage.loss.fluxDensity,
                9.8 / (4.44288293815837 * 50 * byVoltage.netAreaCm2 / 1e4), 1e-12);
}

// Finding D with the stacks rounded, the net area the design shows, as cut,
// reaches the target: with the ideal area 331.5 cm² gave 215 mm and 329.41
// cm² as cut.
TEST(Evaluation, FoundDiameterReachesTheTargetAsCut) {
    Inputs find;
    find.widthMode = WidthMode::FindDiameter;
    find.netArea = 331.5;
    ASSERT_EQ(find.stackRound, 2);
    const Design found = designOf(find);
    EXPECT_EQ(found.diameter, 220);
    EXPECT_GE(found.netAreaCm2, 331.5);
}

// Each bad input is named by the evaluation, however the design gets to it;
// inputs on their own ranges are all named at once.
TEST(Evaluation, NamesEveryInputItCannotTake) {
    const auto problemsOf = [](void (*change)(Inputs&)) {
        Inputs inputs = publishedCore();
        change(inputs);
        const Evaluation evaluation = evaluate(inputs, drawing::Language::English);
        EXPECT_FALSE(evaluation.design.has_value());
        std::vector<DesignInput> named;
        for (const Problem& problem : evaluation.problems) {
            named.push_back(problem.input);
        }
        return named;
    };
    using I = DesignInput;
    const struct {
        void (*change)(Inputs&);
        std::vector<DesignInput> named;
    } cases[] = {
        {[](Inputs& in) { in.diameter = 1e308; }, {I::Diameter}},
        {[](Inputs& in) {
             in.windowHeight = std::numeric_limits<double>::quiet_NaN();
             in.limbs = 2.5;
             in.stackingFactor = 97;
         },
         {I::WindowHeight, I::Limbs, I::StackingFactor}},
        {[](Inputs& in) {
             in.givenWidths = {190, 190};
         },
         {I::Widths}},
        {[](Inputs& in) { in.givenWidths.assign(10, 1); }, {I::Widths}},
        {[](Inputs& in) { in.centreDistance = 150; }, {I::CentreDistance}},
        {[](Inputs& in) { in.stackRound = 50; }, {I::StackRound}},
        {[](Inputs& in) { in.sheetThickness = 100; }, {I::SheetThickness}},
        {[](Inputs& in) { in.fluxDensity = 1.9; }, {I::FluxDensity}},
        {[](Inputs& in) {
             in.fluxSource = FluxSource::VoltsPerTurn;
             in.voltsPerTurn = 400;
         },
         {I::VoltsPerTurn}},
        {[](Inputs& in) { in.grade = "M9"; }, {I::Grade}},
        {[](Inputs& in) {
             in.lossSource = LossSource::CurveFile;
             in.curveText = "B,W/kg\n1.7,1\n1.5,2\n";
         },
         {I::Curve}},
        {[](Inputs& in) {
             in.widthMode = WidthMode::BestForDiameter;
             in.stages = 0;
             in.grid = -5;
         },
         {I::Stages, I::Grid}},
        {[](Inputs& in) {
             in.widthMode = WidthMode::BestForDiameter;
             in.grid = 0;
             in.minWidth = 100;
         },
         {I::MinWidth}},
        {[](Inputs& in) {
             in.widthMode = WidthMode::FindDiameter;
             in.grid = 0;
             in.netArea = -1;
         },
         {I::Grid, I::NetArea}},
        {[](Inputs& in) { in.windowHeight = 1e308; }, {I::WindowHeight}},
        {[](Inputs& in) { in.density = 1e305; }, {I::WindowHeight, I::CentreDistance, I::Density}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(problemsOf(c.change), c.named) << testing::PrintToString(c.named);
    }
}

// A diameter far beyond the widths is named, in every mode that takes D,
// with the input that does not fit it beside; the inputs that merely fit
// badly keep their own blame.
struct BlameCase {
    const char* name;
    void (*change)(Inputs&);
    std::vector<DesignInput> named;
    const char* message;  // the first problem's
};

class DiameterBlame : public testing::TestWithParam<BlameCase> {};

TEST_P(DiameterBlame, NamesTheInputToChange) {
    Inputs inputs = publishedCore();
    GetParam().change(inputs);
    const Evaluation evaluation = evaluate(inputs, drawing::Language::English);
    EXPECT_FALSE(evaluation.design.has_value());
    std::vector<DesignInput> named;
    for (const Problem& problem : evaluation.problems) {
        named.push_back(problem.input);
    }
    EXPECT_EQ(named, GetParam().named);
    ASSERT_FALSE(evaluation.problems.empty());
    EXPECT_EQ(evaluation.problems.front().message, GetParam().message);
}

using I = DesignInput;
INSTANTIATE_TEST_SUITE_P(
    Evaluation, DiameterBlame,
    testing::Values(
        BlameCase{"HugeDiameterOnTheGrid",
                  [](Inputs& in) {
                      in.widthMode = WidthMode::BestForDiameter;
                      in.diameter = 1000000;
                  },
                  {I::Diameter, I::Grid},
                  "D 1000000 holds more than 20000 widths of the grid 5 mm; make D smaller or "
                  "the grid coarser"},
        BlameCase{"HugeDiameterWithWidthsGiven",
                  [](Inputs& in) { in.diameter = 1000000; },
                  {I::Diameter, I::StackRound},
                  "D 1000000 is too large for the widths (the widest, 190, is below D/√2): "
                  "step 2: its stack rounds to 0 at a stack rounding of 2 mm"},
        BlameCase{"WidthsTooCloseForTheRounding",
                  [](Inputs& in) {
                      in.givenWidths = {190, 189.9};
                  },
                  {I::StackRound},
                  "step 2: its stack rounds to 0 at a stack rounding of 2 mm"},
        BlameCase{"GridTooFineForAnOrdinaryDiameter",
                  [](Inputs& in) {
                      in.widthMode = WidthMode::BestForDiameter;
                      in.grid = 0.001;
                  },
                  {I::Diameter, I::Grid},
                  "D 196 holds more than 20000 widths of the grid 0.001 mm; make D smaller or "
                  "the grid coarser"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Evaluation, GivesBothNetAreasAndTheTotalStackIdealAndAsCut) {
    const Design design = designOf(publishedCore());
    // The steel with the stacks as cut, beside the calculator's gross area ×
    // stacking factor that its sheet shows: two quantities, two numbers.
    EXPECT_EQ(twoDecimals(design.netAreaCm2), "272.76");
    EXPECT_EQ(design.sheet.textRef(Field::txjmj), "274.72728");
    EXPECT_EQ(design.stackAsCut, 192);  // sqrt(196² − 30²) = 193.69 floored to 2 mm
    EXPECT_EQ(twoDecimals(design.idealStack), "193.69");
}
