// The input -> output examples in the core's header comments, checked here so
// that the documentation cannot drift from the code.
#include <gtest/gtest.h>

#include <cmath>

#include "kalvitra/actions.h"
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

}  // namespace
}  // namespace kalvitra
