#include "kalvitra/sheet/actions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "kalvitra/sheet/errors.h"
#include "test_support.h"

namespace kalvitra {
namespace {

using testing::FieldTexts;
using testing::RecordingSheet;

// One press of a button on a prepared sheet: the fields it must change (all
// others must keep their texts), or the error it must stop with (then only
// the listed partial writes may differ from the start).
struct ActionCase {
    const char* name;
    Action action;
    FieldTexts start;
    FieldTexts changed;
    std::optional<ErrorKind> error = std::nullopt;
};

const FieldTexts kSixStageWidths = testing::asFieldTexts(worked_example::kSection);
const FieldTexts kSixStageThicknesses = testing::asFieldTexts(worked_example::kThicknesses);

std::pair<Field, std::string> asText(worked_example::FieldText fieldText) {
    return {fieldText.first, std::string(fieldText.second)};
}

FieldTexts one(worked_example::FieldText fieldText) {
    return {asText(fieldText)};
}

FieldTexts join(FieldTexts a, const FieldTexts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every thickness field and second-column field set to one text.
FieldTexts allThicknesses(const char* text) {
    FieldTexts texts;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        texts.emplace_back(thicknessField(stage), text);
        if (stage > 1) {
            texts.emplace_back(secondColumnField(stage), text);
        }
    }
    return texts;
}

// One-stage frame: Y = 400, outline 500 × 500, windows 300 × 200.
const FieldTexts kOneStageFrame = {{Field::PK1, "100"}, {Field::jh1, "100"}, {Field::H, "300"},
                                   {Field::M, "200"},   {Field::Z, "3"},     {Field::dpxs, "1"}};

FieldTexts with(FieldTexts texts, Field field, const char* text) {
    for (auto& [f, t] : texts) {
        if (f == field) {
            t = text;
            return texts;
        }
    }
    texts.emplace_back(field, text);
    return texts;
}

class ActionTable : public ::testing::TestWithParam<ActionCase> {};

TEST_P(ActionTable, ChangesExactlyTheExpectedFields) {
    const ActionCase& c = GetParam();
    Sheet sheet;
    for (const auto& [field, text] : c.start) {
        sheet.setText(field, text);
    }
    Sheet expected = sheet;
    for (const auto& [field, text] : c.changed) {
        expected.setText(field, text);
    }

    if (c.error) {
        try {
            runAction(c.action, sheet);
            FAIL() << "no error";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.kind(), *c.error) << error.what();
            EXPECT_FALSE(std::string(error.what()).empty());
        }
    } else {
        runAction(c.action, sheet);
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        EXPECT_EQ(sheet.text(fieldAt(i)), expected.text(fieldAt(i))) << fieldName(fieldAt(i));
    }
}

INSTANTIATE_TEST_SUITE_P(
    StageThicknesses, ActionTable,
    ::testing::Values(
        ActionCase{"WorkedExample", Action::StageThicknesses, kSixStageWidths,
                   kSixStageThicknesses},
        ActionCase{"AllEmptyGivesZeros", Action::StageThicknesses, {}, allThicknesses("0")},
        ActionCase{"WidthEqualToDiameterIsNotReset",
                   Action::StageThicknesses,
                   {{Field::D, "200"}, {Field::PK1, "200"}},
                   with(allThicknesses("0"), Field::jh1, "0000.00")},
        ActionCase{"WidthWithUnitAndTypedOverResults", Action::StageThicknesses,
                   join(with(kSixStageWidths, Field::PK1, "190mm"), allThicknesses("typed")),
                   kSixStageThicknesses},
        ActionCase{
            "GapGivesNegativeNextStage",
            Action::StageThicknesses,
            {{Field::D, "200"}, {Field::PK1, "190"}, {Field::PK2, "175"}, {Field::PK4, "130"}},
            join(with(with(allThicknesses("0"), Field::jh4, "-0024.01"), Field::jh42, "-24.01"),
                 {{Field::jh1, "0062.45"}, {Field::jh2, "0017.19"}, {Field::jh22, "17.19"}})},
        ActionCase{"TextAndZeroWidthsReset",
                   Action::StageThicknesses,
                   {{Field::D, "200"}, {Field::PK1, "abc"}, {Field::PK2, "0.000"}},
                   allThicknesses("0")},
        ActionCase{"NegativeWidthActsLikeItsSize", Action::StageThicknesses,
                   with(kSixStageWidths, Field::PK1, "-190"), kSixStageThicknesses},
        ActionCase{"FirstWidthLargerThanDiameterChangesNothing",
                   Action::StageThicknesses,
                   join({{Field::D, "200"}, {Field::PK1, "201"}}, allThicknesses("old")),
                   {},
                   ErrorKind::InvalidArgument},
        ActionCase{"WidthWithoutDiameter",
                   Action::StageThicknesses,
                   {{Field::PK1, "10"}},
                   {},
                   ErrorKind::InvalidArgument},
        ActionCase{"ThirdWidthTooLargeKeepsFirstTwoStages",
                   Action::StageThicknesses,
                   join(with(kSixStageWidths, Field::PK3, "300"), allThicknesses("old")),
                   {{Field::jh1, "0062.45"}, {Field::jh2, "0017.19"}},
                   ErrorKind::InvalidArgument},
        ActionCase{"DiameterSquareBeyondRange",
                   Action::StageThicknesses,
                   {{Field::D, "1e200"}},
                   {},
                   ErrorKind::Overflow},
        ActionCase{"DiameterBeyondRange",
                   Action::StageThicknesses,
                   {{Field::D, "1e999"}},
                   {},
                   ErrorKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Areas, ActionTable,
    ::testing::Values(
        ActionCase{"GrossWorkedExample", Action::GrossArea,
                   join(kSixStageWidths, kSixStageThicknesses), one(worked_example::kGrossArea)},
        ActionCase{"GrossOnInitialSheet", Action::GrossArea, {}, {{Field::txmj, "0"}}},
        ActionCase{"GrossCentreStageOnce",
                   Action::GrossArea,
                   {{Field::PK1, "100"}, {Field::jh1, "100"}},
                   {{Field::txmj, "100"}}},
        ActionCase{"GrossOtherStagesTwiceWithoutSecondColumn",
                   Action::GrossArea,
                   {{Field::PK2, "100"}, {Field::jh2, "10"}, {Field::jh22, "999"}},
                   {{Field::txmj, "20"}}},
        ActionCase{"GrossBeyondRange",
                   Action::GrossArea,
                   {{Field::PK1, "1e200"}, {Field::jh1, "1e200"}, {Field::txmj, "old"}},
                   {},
                   ErrorKind::Overflow},
        ActionCase{
            "NetWorkedExample",
            Action::NetArea,
            {asText(worked_example::kGrossArea), asText(worked_example::kNetAreaStackingFactor)},
            one(worked_example::kNetArea)},
        ActionCase{"NetOfZeroGross",
                   Action::NetArea,
                   {{Field::txmj, "0"}, {Field::dpxs, "0.96"}},
                   {{Field::txjmj, "0"}}},
        ActionCase{"NetWithEmptyFactor",
                   Action::NetArea,
                   {{Field::txmj, "289.499"}},
                   {{Field::txjmj, "0"}}},
        ActionCase{"NetDecimalCommaFactorReadsZero",
                   Action::NetArea,
                   {{Field::txmj, "289.499"}, {Field::dpxs, "0,96"}},
                   {{Field::txjmj, "0"}}},
        ActionCase{"NetDigitGroups",
                   Action::NetArea,
                   {{Field::txmj, "1,234.5"}, {Field::dpxs, "1"}},
                   {{Field::txjmj, "1234.5"}}},
        ActionCase{"NetExponentForm",
                   Action::NetArea,
                   {{Field::txmj, "1.5E+20"}, {Field::dpxs, "0.5"}},
                   {{Field::txjmj, "7.5E+19"}}},
        ActionCase{"NetOfEmptyGross",
                   Action::NetArea,
                   {{Field::dpxs, "0.96"}, {Field::txjmj, "old"}},
                   {},
                   ErrorKind::TypeMismatch},
        ActionCase{"NetOfGrossWithUnit",
                   Action::NetArea,
                   {{Field::txmj, "289.499 cm2"}, {Field::txjmj, "old"}},
                   {},
                   ErrorKind::TypeMismatch},
        ActionCase{"NetOfGrossBeyondRange",
                   Action::NetArea,
                   {{Field::txmj, "2e308"}},
                   {},
                   ErrorKind::Overflow},
        ActionCase{"NetBeyondRange",
                   Action::NetArea,
                   {{Field::txmj, "1e308"}, {Field::dpxs, "10"}},
                   {},
                   ErrorKind::Overflow},
        ActionCase{"StackWorkedExample", Action::TotalStack, kSixStageThicknesses,
                   one(worked_example::kTotalStack)},
        ActionCase{"StackOnInitialSheet", Action::TotalStack, {}, {{Field::dh, "0"}}},
        ActionCase{"StackOnePacket",
                   Action::TotalStack,
                   {{Field::jh1, "50"}, {Field::jh2, "10"}},
                   {{Field::dh, "60"}}},
        ActionCase{"StackBothPackets",
                   Action::TotalStack,
                   {{Field::jh1, "50"}, {Field::jh2, "10"}, {Field::jh22, "10"}},
                   {{Field::dh, "70"}}},
        ActionCase{"StackBeyondRange",
                   Action::TotalStack,
                   {{Field::jh1, "1e308"}, {Field::jh92, "1e308"}, {Field::dh, "old"}},
                   {},
                   ErrorKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CoreWeight, ActionTable,
    ::testing::Values(
        ActionCase{"WorkedExample", Action::CoreWeight,
                   join(join(kSixStageWidths, kSixStageThicknesses),
                        testing::asFieldTexts(worked_example::kFrame)),
                   one(worked_example::kCoreWeight)},
        ActionCase{"OneStage", Action::CoreWeight, kOneStageFrame, {{Field::txz, "145.35"}}},
        ActionCase{"SingleLimb",
                   Action::CoreWeight,
                   with(kOneStageFrame, Field::Z, "1"),
                   {{Field::txz, "38.25"}}},
        ActionCase{"NoLimbsGivesNegativeWeight",
                   Action::CoreWeight,
                   with(kOneStageFrame, Field::Z, ""),
                   {{Field::txz, "-15.3"}}},
        ActionCase{"OnePacketWithoutSecondColumn",
                   Action::CoreWeight,
                   {{Field::PK2, "100"},
                    {Field::jh2, "10"},
                    {Field::H, "300"},
                    {Field::M, "200"},
                    {Field::Z, "3"},
                    {Field::dpxs, "1"}},
                   {{Field::txz, "12.24"}}},
        ActionCase{"BothPackets",
                   Action::CoreWeight,
                   {{Field::PK2, "100"},
                    {Field::jh2, "10"},
                    {Field::jh22, "10"},
                    {Field::H, "300"},
                    {Field::M, "200"},
                    {Field::Z, "3"},
                    {Field::dpxs, "1"}},
                   {{Field::txz, "24.48"}}},
        ActionCase{"EmptyWidthContributesNothing",
                   Action::CoreWeight,
                   join(kOneStageFrame, {{Field::jh3, "50"}, {Field::jh32, "50"}}),
                   {{Field::txz, "145.35"}}},
        ActionCase{"DiameterAndStageCountAreNotRead",
                   Action::CoreWeight,
                   join(kOneStageFrame, {{Field::D, "1e300"}, {Field::TXJS, "7"}}),
                   {{Field::txz, "145.35"}}},
        ActionCase{"InitialSheet", Action::CoreWeight, {}, {{Field::txz, "0"}}},
        ActionCase{"EmptyDensity",
                   Action::CoreWeight,
                   with(kOneStageFrame, Field::MD, ""),
                   {{Field::txz, "0"}}},
        ActionCase{"CheckedStepBeyondRange",
                   Action::CoreWeight,
                   join(kOneStageFrame, {{Field::M, "1e308"}, {Field::txz, "old"}}),
                   {},
                   ErrorKind::Overflow},
        ActionCase{
            "UncheckedOutlineAreaBeyondRange",
            Action::CoreWeight,
            join(kOneStageFrame, {{Field::H, "1e160"}, {Field::M, "1e160"}, {Field::txz, "old"}}),
            {},
            ErrorKind::Overflow},
        ActionCase{"UncheckedWeightBeyondRange",
                   Action::CoreWeight,
                   join(kOneStageFrame,
                        {{Field::MD, "1e300"}, {Field::jh1, "1e200"}, {Field::txz, "old"}}),
                   {},
                   ErrorKind::Overflow},
        ActionCase{"InputBeyondRange",
                   Action::CoreWeight,
                   join(kOneStageFrame, {{Field::jh92, "-1e400"}, {Field::txz, "old"}}),
                   {},
                   ErrorKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StageThicknesses, WritesEachStageAsItGoesAndStopsAtTheFault) {
    Sheet start = testing::sixStageInputs();
    start.setText(Field::PK3, "300");
    RecordingSheet sheet(start);
    EXPECT_THROW(computeStageThicknesses(sheet), CalcError);
    // Each stage shows its default text first, then the two-decimal pattern.
    const FieldTexts expected = {{Field::jh1, "62.449979983984"},
                                 {Field::jh1, "0062.45"},
                                 {Field::jh2, "17.1872918275927"},
                                 {Field::jh2, "0017.19"}};
    EXPECT_EQ(sheet.writes, expected);
}

TEST(Actions, ErrorsNameTheFieldThatCausedThem) {
    const struct {
        const char* name;
        Action action;
        FieldTexts start;
        std::optional<Field> field;
    } cases[] = {
        {"WidthWiderThanDiameter", Action::StageThicknesses,
         join(kSixStageWidths, {{Field::PK4, "250"}}), Field::PK4},
        {"WidthBeyondRange", Action::StageThicknesses, {{Field::PK2, "9e999"}}, Field::PK2},
        {"GrossAreaNotANumber", Action::NetArea, {{Field::txmj, "n/a"}}, Field::txmj},
        {"WeightInputBeyondRange", Action::CoreWeight, {{Field::Z, "-1e400"}}, Field::Z},
        // an arithmetic fault has no single field to blame
        {"SumBeyondRange",
         Action::TotalStack,
         {{Field::jh1, "1e308"}, {Field::jh2, "1e308"}},
         std::nullopt},
    };
    for (const auto& c : cases) {
        Sheet sheet;
        for (const auto& [field, text] : c.start) {
            sheet.setText(field, text);
        }
        try {
            runAction(c.action, sheet);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.field(), c.field) << c.name;
        }
    }
}

TEST(StageThicknesses, LaterStagesUseTheTwoDecimalTexts) {
    // Stage 2 works from the 62.45 that stage 1 shows, not 62.449979983984:
    // with the exact value it would come out 17.1997..., shown as 0017.20.
    RecordingSheet sheet(
        testing::sheetWith({{Field::D, "200"}, {Field::PK1, "190"}, {Field::PK2, "175"}}));
    computeStageThicknesses(sheet);
    EXPECT_EQ(sheet.writes.at(2), (std::pair<Field, std::string>{Field::jh2, "17.1872918275927"}));
}

TEST(Actions, RepeatedPressesAndFreeTextChangeNothing) {
    Sheet first = testing::sixStageInputs();
    first.setText(Field::H, "600");
    first.setText(Field::M, "420");
    first.setText(Field::Z, "3");
    first.setText(Field::dpxs, "0.97");
    Sheet second = first;
    second.setText(Field::Text1, "SZ11-10000/110");
    second.setText(Field::Text2, "1.5e400");
    second.setText(Field::TXJS, "-1e999");
    for (int press = 0; press < 2; ++press) {
        for (Action action : kAllActions) {
            runAction(action, first);
            runAction(action, second);
        }
    }
    for (Field free : {Field::Text1, Field::Text2, Field::TXJS}) {
        second.setText(free, first.text(free));
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.text(Field::txz), "834.9353444385");
}

TEST(Actions, NamesRoundTrip) {
    for (Action action : kAllActions) {
        EXPECT_EQ(actionByName(actionName(action)), action);
    }
    EXPECT_EQ(actionByName("Stages"), std::nullopt);
    EXPECT_EQ(actionByName(""), std::nullopt);
}

}  // namespace
}  // namespace kalvitra
