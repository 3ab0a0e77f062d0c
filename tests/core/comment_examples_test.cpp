// The input -> output examples in the core's header comments, checked here so
// that the documentation cannot drift from the code.
#include <gtest/gtest.h>

#include <cmath>

#include "kalvitra/actions.h"
#include "kalvitra/design.h"
#include "kalvitra/errors.h"
#include "kalvitra/numbers.h"
#include "kalvitra/sheet.h"
#include "test_support.h"

namespace kalvitra {
namespace {

TEST(CommentExamples, Errors) {
    EXPECT_EQ(errorKindName(ErrorKind::TypeMismatch), "type-mismatch");
    EXPECT_EQ(errorKindName(ErrorKind::DivisionByZero), "division-by-zero");
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
std::vector<std::string> widthTexts(const design::Design& found) {
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

    const Design grid = bestGridWidths(200, 6, 5, 0);
    EXPECT_EQ(widthTexts(grid), (Texts{"190", "175", "155", "130", "95", "55"}));
    EXPECT_EQ(writeDefault(grid.grossArea), "28968.3598419397");
    EXPECT_EQ(widthTexts(bestGridWidths(1, 3, 0.1, 0.2)), (Texts{"0.9", "0.7", "0.4"}));
    EXPECT_EQ(widthTexts(bestGridWidths(5, 1, 1, 0)), Texts{"4"});
    EXPECT_EQ(widthTexts(bestGridWidths(20, 9, 5, 0)), (Texts{"15", "10", "5"}));

    const Design core = smallestDiameter({1000, 0.96, 9, 5, 5, 0});
    EXPECT_EQ(core.diameter, 375);
    EXPECT_EQ(widthTexts(core),
              (Texts{"365", "345", "320", "290", "260", "225", "185", "140", "80"}));
    EXPECT_EQ(writeDefault(netAreaCm2(core.grossArea, 0.96)), "1005.23315557598");
}

}  // namespace
}  // namespace kalvitra
