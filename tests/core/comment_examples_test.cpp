// The input -> output examples in the core's header comments, checked here so
// that the documentation cannot drift from the code.
#include <gtest/gtest.h>

#include <cmath>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/dxf.h"
#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/inputs/checks.h"
#include "kalvitra/rating/rating.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/loss.h"
#include "kalvitra/workshop/no_load_current.h"
#include "test_support.h"

namespace kalvitra {
namespace {

TEST(CommentExamples, Errors) {
    EXPECT_EQ(errorKindName(ErrorKind::TypeMismatch), "type-mismatch");
    EXPECT_EQ(errorKindName(ErrorKind::DivisionByZero), "division-by-zero");
}

TEST(CommentExamples, Utf8) {
    EXPECT_EQ(decodeUtf8("\xE7\xBA\xA7", 0).value, U'\u7EA7');
    EXPECT_EQ(decodeUtf8("\xE7\xBA\xA7", 0).length, 3u);
    EXPECT_EQ(decodeUtf8("\xFF", 0).value, U'\uFFFD');
    EXPECT_EQ(decodeUtf8("\xFF", 0).length, 1u);
}

TEST(CommentExamples, Sheet) {
    EXPECT_EQ(fieldName(Field::jh22), "jh22");
    EXPECT_EQ(fieldByName("PK3"), Field::PK3);
    EXPECT_EQ(fieldByName("pk3"), std::nullopt);
    EXPECT_EQ(initialText(Field::MD), "7.65");
}

TEST(CommentExamples, LenientReading) {
    EXPECT_EQ(readLenient(""), 0);
    EXPECT_EQ(readLenient("12.5mm"), 12.5);
    EXPECT_EQ(readLenient("  7.65"), 7.65);
    EXPECT_EQ(readLenient("1 2"), 12);
    EXPECT_EQ(readLenient("1,5"), 1);
    EXPECT_EQ(readLenient(".5"), 0.5);
    EXPECT_EQ(readLenient("1.5E-3"), 0.0015);
    EXPECT_EQ(readLenient("2E"), 2);
    EXPECT_EQ(readLenient("abc"), 0);
    EXPECT_EQ(readLenient("1.23456789012346E+15"), 1234567890123460.0);
}

TEST(CommentExamples, StrictReading) {
    EXPECT_EQ(readStrict(" 289.499 "), 289.499);
    EXPECT_EQ(readStrict("1,234.5"), 1234.5);
    EXPECT_EQ(readStrict("1.5E+20"), 1.5e20);
    for (const char* text : {"", "12.5mm"}) {
        try {
            readStrict(text);
            FAIL() << text;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::TypeMismatch);
        }
    }
}

TEST(CommentExamples, Writing) {
    EXPECT_EQ(writeDefault(0.5), "0.5");
    EXPECT_EQ(writeDefault(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(writeDefault(0.1 + 0.2), "0.3");
    EXPECT_EQ(writeDefault(1e14), "100000000000000");
    EXPECT_EQ(writeDefault(1e15), "1E+15");
    EXPECT_EQ(writeDefault(0.00001), "1E-05");
    EXPECT_EQ(writeDefault(1e-100), "1E-100");
    EXPECT_EQ(writePattern(12.3), "0012.30");
    EXPECT_EQ(writePattern(0), "0000.00");
    EXPECT_EQ(writePattern(62.449979983984), "0062.45");
    EXPECT_EQ(writePattern(2.675), "0002.68");
    EXPECT_EQ(writePattern(0.125), "0000.13");
    EXPECT_EQ(writePattern(12345.678), "12345.68");
    EXPECT_EQ(writePattern(-3.456), "-0003.46");
    EXPECT_EQ(writePattern(-0.001), "-0000.00");
    EXPECT_EQ(writeInteger(0), "0");
    EXPECT_EQ(writeInteger(-12), "-12");
}

TEST(CommentExamples, Actions) {
    Sheet sheet = testing::sixStageInputs();
    computeStageThicknesses(sheet);
    const char* thicknesses[] = {"0062.45", "0017.19", "0014.78", "0012.80", "0010.61",
                                 "0007.97", "0",       "0",       "0"};
    for (int stage = 1; stage <= kStageCount; ++stage) {
        EXPECT_EQ(sheet.text(thicknessField(stage)), thicknesses[stage - 1]) << stage;
    }
    computeGrossArea(sheet);
    EXPECT_EQ(sheet.text(Field::txmj), "289.499");
    sheet.setText(Field::dpxs, "0.96");
    computeNetArea(sheet);
    EXPECT_EQ(sheet.text(Field::txjmj), "277.91904");
    computeTotalStack(sheet);
    EXPECT_EQ(sheet.text(Field::dh), "189.15");
    for (auto [field, text] :
         {std::pair{Field::H, "600"}, {Field::M, "420"}, {Field::Z, "3"}, {Field::dpxs, "0.97"}}) {
        sheet.setText(field, text);
    }
    computeCoreWeight(sheet);
    EXPECT_EQ(sheet.text(Field::txz), "834.9353444385");
    EXPECT_EQ(actionName(Action::GrossArea), "gross-area");
    EXPECT_EQ(actionByName("weight"), Action::CoreWeight);
}

// Widths printed as the batch tool writes them.
std::vector<std::string> widthTexts(const design::StepWidths& found) {
    std::vector<std::string> texts;
    for (const double width : found.widths) {
        texts.push_back(writeDefault(width));
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(CommentExamples, Design) {
    using namespace design;
    const double one[] = {190};
    EXPECT_EQ(writeDefault(idealGrossArea(200, one)), "11865.496196957");
    const double six[] = {190, 175, 155, 130, 100, 65};
    EXPECT_EQ(writeDefault(idealGrossArea(200, six)), "28949.1128179624");

    EXPECT_EQ(widthTexts(bestWidths(1000, 1)), Texts{"707.106781186548"});
    EXPECT_EQ(writeDefault(bestWidths(1000, 1).grossArea), "500000");
    EXPECT_EQ(widthTexts(bestWidths(1000, 2)), (Texts{"850.65080835204", "525.731112119134"}));
    EXPECT_EQ(widthTexts(bestWidths(200, 3)),
              (Texts{"181.12913643046", "141.42135623731", "84.8070512160153"}));
    EXPECT_NEAR(utilisation(1, bestWidths(1, 9).grossArea), 0.9483, 5e-5);

    const StepWidths grid = bestGridWidths(200, 6, 5, 0);
    EXPECT_EQ(widthTexts(grid), (Texts{"190", "175", "155", "130", "95", "55"}));
    EXPECT_EQ(writeDefault(grid.grossArea), "28968.3598419397");
    EXPECT_EQ(widthTexts(bestGridWidths(1, 3, 0.1, 0.2)), (Texts{"0.9", "0.7", "0.4"}));
    EXPECT_EQ(widthTexts(bestGridWidths(5, 1, 1, 0)), Texts{"4"});
    EXPECT_EQ(widthTexts(bestGridWidths(20, 9, 5, 0)), (Texts{"15", "10", "5"}));

    const StepWidths core = smallestDiameter({1000, 0.96, 9, 5, 5, 0});
    EXPECT_EQ(core.diameter, 375);
    EXPECT_EQ(widthTexts(core),
              (Texts{"365", "345", "320", "290", "260", "225", "185", "140", "80"}));
    EXPECT_EQ(writeDefault(netAreaCm2(core.grossArea, 0.96)), "1005.23315557598");
}

// The message a check or question refuses with; "" when it passes.
template <typename Question>
std::string refusal(Question question) {
    try {
        question();
    } catch (const DesignError& error) {
        return error.what();
    }
    return "";
}

TEST(CommentExamples, DiameterAsCut) {
    using namespace design;
    const StepWidths ideal = smallestDiameter({331.5, 0.97, 8, 5, 5, 0, 0});
    EXPECT_EQ(ideal.diameter, 215);
    EXPECT_EQ(writeDefault(netAreaCm2(ideal.grossArea, 0.97)), "331.52819612819");
    const workshop::Section at215 = {215, ideal.widths};
    EXPECT_EQ(writeDefault(workshop::netArea(at215, workshop::stepStacks(at215, 2), 0.97) / 100),
              "329.412");
    const StepWidths asCut = smallestDiameter({331.5, 0.97, 8, 5, 5, 0, 2});
    EXPECT_EQ(asCut.diameter, 220);
    const workshop::Section at220 = {220, asCut.widths};
    EXPECT_EQ(twoDecimals(workshop::netArea(at220, workshop::stepStacks(at220, 2), 0.97) / 100),
              "345.32");
    EXPECT_EQ(workshop::roundedStacks({196, {190, 180, 160}}, 50).emptyStep, 0u);
}

TEST(CommentExamples, Rating) {
    using namespace rating;
    const Connection dyn11 = readConnection("Dyn11");
    EXPECT_EQ(dyn11.hv, Winding::Delta);
    EXPECT_EQ(dyn11.lv, Winding::Star);
    EXPECT_TRUE(dyn11.lvNeutral);
    EXPECT_EQ(dyn11.clock, 11);
    for (const char* symbol : {"YNd11", "Yyn0", "Dd0", "Yd"}) {
        EXPECT_EQ(refusal([&] { readConnection(symbol); }), "") << symbol;
    }
    EXPECT_EQ(readConnection("Yd").clock, std::nullopt);
    EXPECT_EQ(refusal([] { readConnection("Dx7"); }),
              "the connection is not an IEC symbol such as Dyn11: the HV winding D, Y or YN, the "
              "LV winding d, y or yn, then the clock number 0 to 11");
    EXPECT_EQ(refusal([] { readConnection("Ii0"); }),
              "the connection is single-phase; the rating is of a three-phase transformer");
    EXPECT_EQ(refusal([] { readConnection("Dyn0"); }),
              "the connection has the clock number 0, but a delta and a star winding give an odd "
              "one");

    // By hand: U2_ph = 400/√3 = 230.94 V; e₀ = 0.45·√500 = 10.062 V; N2 =
    // R(22.95) = 23, e = 10.0409 V; N1 = R(10000/10.0409 = 995.93) = 996; the
    // ratio 996/23 = 43.3043 against 43.3013, +0.0071 %; A = 10.0409 /
    // (4.44288·50·1.6) = 282.50 cm². Nine stages on a 5 mm grid give it at D =
    // 200; the stacks floored to 2 mm sum to 194 mm, below D, and their net
    // area of 287.02 cm² carries the flux at 10.0409 / (4.44288·50·0.028702)
    // = 1.5748 T.
    Rating tender;
    tender.power = 500;
    tender.hvVoltage = 10;
    tender.lvVoltage = 0.4;
    tender.connection = dyn11;
    tender.fluxDensity = 1.6;
    const RatedCore rated = rateCore(tender, {0, 0.97, 9, 5, 5, 0, 2});
    const Turns& t = rated.turns;
    EXPECT_EQ(writeDefault(t.hvPhaseVoltage), "10000");
    EXPECT_EQ(writeDefault(t.lvPhaseVoltage), "230.94010767585");
    EXPECT_EQ(t.lvTurns, 23);
    EXPECT_EQ(writeDefault(t.voltsPerTurn), "10.0408742467761");
    EXPECT_EQ(t.hvTurns, 996);
    EXPECT_EQ(writeDefault(t.ratioErrorPercent), "0.00710749788994658");
    EXPECT_EQ(writeDefault(t.netAreaRequired), "282.498841026694");
    EXPECT_EQ(rated.core.diameter, 200);
    EXPECT_EQ(widthTexts(rated.core),
              (Texts{"195", "185", "170", "155", "140", "120", "100", "75", "45"}));
    EXPECT_EQ(rated.stacks, (std::vector<double>{44, 30, 30, 22, 16, 18, 12, 12, 10}));
    EXPECT_EQ(writeDefault(rated.netArea), "287.023");
    EXPECT_EQ(writeDefault(rated.fluxDensity), "1.57478022891096");
}

TEST(CommentExamples, Checks) {
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Diameter, 0); }),
              "the diameter must be a number greater than 0");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Diameter, 1e308); }),
              "the diameter must lie between 1E-100 and 1E+100");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::WindowHeight, 1e200); }),
              "the window height must lie between 1E-100 and 1E+100");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Limbs, 2.5); }),
              "the number of limbs must be a whole number from 2 to 1000");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::StackingFactor, 0.96); }), "");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::StackingFactor, 96); }),
              "the stacking factor must be a number greater than 0 and at most 1");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Stages, 10); }),
              "the number of stages must be a whole number from 1 to 9");
    EXPECT_EQ(refusal([] { checkPositive(DesignInput::Grid, 0); }),
              "the grid must be a number greater than 0");
    EXPECT_EQ(refusal([] { stageWidths(Sheet()); }), "no stage width given (PK1..PK9)");
    EXPECT_EQ(refusal([] {
                  stageWidths(testing::sheetWith({{Field::PK3, "150"}}));
              }),
              "stage 1 (PK1) has no width but stage 3 has one; the stages in use must come first");
    EXPECT_EQ(refusal([] {
                  stageWidths(testing::sheetWith(
                      {{Field::PK1, "210"}, {Field::PK2, "２００"}, {Field::PK3, "185"}}));
              }),
              "stage 2 (PK2) has no width (\"２００\" reads as 0) but stage 3 has one; the "
              "stages in use must come first");
    EXPECT_EQ(refusal([] {
                  stageWidths(testing::sheetWith({{Field::PK1, "２１０"}}));
              }),
              "no stage width given (PK1..PK9); PK1 (\"２１０\" reads as 0)");
    EXPECT_EQ(refusal([] {
                  stageWidths(testing::sheetWith({{Field::PK1, "190"}, {Field::PK2, "-20"}}));
              }),
              "stage 2 (PK2): a width must be greater than 0");
    const double twice190[] = {190, 190};
    EXPECT_EQ(refusal([&] { checkWidthsDecrease(196, twice190); }),
              "stage 2 (PK2): the width 190 is not below the width of stage 1 (190); the widths "
              "must decrease from stage to stage");
}

TEST(CommentExamples, InputCatalogue) {
    EXPECT_EQ(definitionOf(DesignInput::WindowHeight).field, Field::H);
    EXPECT_EQ(findInputByKey("stackRound")->input, DesignInput::StackRound);
    EXPECT_EQ(findInputByField(Field::Z)->input, DesignInput::Limbs);
    EXPECT_EQ(findInputByField(Field::PK1), nullptr);
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Diameter, 0); }),
              "the diameter must be a number greater than 0");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::Diameter, 1e308); }),
              "the diameter must lie between 1E-100 and 1E+100");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::StackRound, 0); }), "");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::StackRound, -2); }),
              "the stack rounding must be a number greater than 0");
    EXPECT_EQ(refusal([] { checkInput(DesignInput::MinWidth, -1); }),
              "the minimum width must be a number of 0 or more");
    EXPECT_EQ(
        refusal([] {
            readSheetInput(testing::sheetWith({{Field::H, "1e999"}}), DesignInput::WindowHeight);
        }),
        "the window height is a number beyond the double range");
    EXPECT_EQ(
        refusal([] {
            readStageInput(testing::sheetWith({{Field::PK2, "1e999"}}), Field::PK2, 2, "width");
        }),
        "stage 2 (PK2): the width is a number beyond the double range");
}

TEST(CommentExamples, NumbersForTablesAndGrids) {
    EXPECT_EQ(writeShortest(128.582424), "128.582424");
    EXPECT_EQ(writeShortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(writeShortest(1e21), "1e+21");
    EXPECT_EQ(writtenMultiple(3, 0.1), 0.3);
    EXPECT_EQ(drawing::textWidthEm("190"), 3 * 0.62);
    EXPECT_EQ(drawing::textWidthEm("级厚"), 2);
    EXPECT_EQ(drawing::languageByCode("zh"), drawing::Language::Chinese);
    EXPECT_EQ(drawing::languageByCode("fr"), std::nullopt);
    EXPECT_EQ(drawing::escapeXml("a<b & \"c\""), "a&lt;b &amp; &quot;c&quot;");
}

TEST(CommentExamples, Workshop) {
    using namespace workshop;
    const Section core = {196, {190, 180, 160, 140, 120, 100, 65, 30}};
    EXPECT_EQ(stepStacks(core, 2), (std::vector<double>{48, 28, 36, 24, 18, 14, 16, 8}));
    EXPECT_EQ(writeDefault(stepStacks({200, {190}}, 0).front()), "62.449979983984");
    EXPECT_EQ(refusal([] {
                  stepStacks({196, {190, 180, 160}}, 50);
              }),
              "step 1: its stack rounds to 0 at a stack rounding of 50 mm");
    EXPECT_EQ(sheetCount(0.97, 48, 0.27), 172);
    EXPECT_EQ(sheetCount(1, 3, 1), 4);  // a tie goes up
    EXPECT_EQ(refusal([] {
                  frameOfSheet(testing::sheetWith({{Field::M, "364"}, {Field::Z, "3"}}));
              }),
              "the window height must be a number greater than 0");

    const CutList list = cutList(core, {760, 364, 3, 7.65, 0.97}, {2, 0.27});
    EXPECT_TRUE(writeCutListCsv(list).starts_with(
        "step,piece,width,short,long,per_layer,stack,sheets,pieces,mass\n"
        "1,outer-limb,190,760,1140,2,48,172,344,128.582424\n"));
    EXPECT_EQ(pieceName(Piece::CentreLimb), "centre-limb");

    EXPECT_TRUE(refusal([] {
                    builtInGrade("M5");
                }).starts_with("no built-in grade of this name; the built-in grades are 23ZDMH, "));
    EXPECT_EQ(refusal([] { readLossCurve("B,W/kg\n1.5,0.83\n1.4,0.7\n", "c"); }),
              "line 3: the flux density must increase from line to line");
    const LossCurve& m4 = builtInGrade("M4-0.27");
    EXPECT_NEAR(specificLoss(m4, 1.6352), 1.09448, 1e-12);
    EXPECT_EQ(writeDefault(fluxDensityOf(18, 50, 50000)), "1.62056936908279");
    EXPECT_EQ(writeDefault(18 / (4.44 * 50 * 0.05)), "1.62162162162162");
    EXPECT_NEAR(noLoadLoss(m4, 1.6352, 1123.6, 1.25).loss, 1537, 2);
    EXPECT_NEAR(jointApparentPower(typicalJointCurve(), 1.55), 2.37, 1e-15);

    // A section whose widths grow is refused as a whole, naming the stage.
    Sheet growing =
        testing::sheetWith({{Field::D, "200"}, {Field::PK1, "190"}, {Field::PK2, "195"}});
    runAction(Action::StageThicknesses, growing);
    try {
        drawing::drawSection(growing, drawing::Language::English);
        ADD_FAILURE() << "a growing width was drawn";
    } catch (const DesignError& error) {
        EXPECT_EQ(error.input(), DesignInput::Widths);
        EXPECT_STREQ(error.what(),
                     "stage 2 (PK2) comes out -9 mm thick; the widths must decrease "
                     "from stage to stage");
    }

    // A title's text as written into the section's drawing.
    Sheet sheet = testing::sheetWith(
        {{Field::D, "200"}, {Field::PK1, "190"}, {Field::Text1, "100% \\ \u53D8 %%u\t"}});
    runAction(Action::StageThicknesses, sheet);
    const drawing::SectionDrawing section = drawing::drawSection(sheet, drawing::Language::English);
    EXPECT_NE(dxf::writeSectionDxf(section).find("\n100% \\U+005C \\U+53D8 \\U+0025%u\\U+FFFD\n"),
              std::string::npos);

    // The labels of the cut list's drawing, as written into it.
    const CutList unsheeted = cutList(core, {760, 364, 3, 7.65, 0.97}, {2, std::nullopt});
    EXPECT_NE(dxf::writeCutListDxf(unsheeted, drawing::Language::English)
                  .find("\nstep 5 outer limb 120 \\U+00D7 830/1070, 2 per layer\n"),
              std::string::npos);
    EXPECT_NE(dxf::writeCutListDxf(unsheeted, drawing::Language::Chinese)
                  .find("\n\\U+7B2C 5 \\U+7EA7 \\U+8FB9\\U+67F1 120 \\U+00D7 830/1070\\U+FF0C"
                        "\\U+6BCF\\U+5C42 2 \\U+7247\n"),
              std::string::npos);
    // Its title with step-lap joints.
    const workshop::JointLayout stepLap{workshop::JointKind::StepLap, {{6, 2}}};
    EXPECT_NE(dxf::writeCutListDxf(unsheeted, drawing::Language::English, {}, stepLap)
                  .find("\nCut list, step-lap joints, 6 steps per book, 2 sheets per step: D = "),
              std::string::npos);
    EXPECT_NE(dxf::writeCutListDxf(unsheeted, drawing::Language::Chinese, {}, stepLap)
                  .find("\n\\U+526A\\U+5207\\U+6E05\\U+5355\\U+FF08\\U+6B65\\U+8FDB\\U+642D"
                        "\\U+63A5\\U+FF0C\\U+6BCF\\U+53E0 6 \\U+6B65\\U+FF0C\\U+6BCF\\U+6B65 2 "
                        "\\U+7247\\U+FF09\\U+FF1AD = "),
              std::string::npos);
}

}  // namespace
}  // namespace kalvitra
