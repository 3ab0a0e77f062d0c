#include "kalvitra/sheet/lenient_reading.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/testing/worked_example.h"

namespace kalvitra {
namespace {

// Remembers which fields an action reads before it has written them.
class ReadRecordingSheet final : public SheetAccess {
public:
    explicit ReadRecordingSheet(const Sheet& start) : sheet_(start) {}
    std::string text(Field field) const override {
        readFirst[indexOf(field)] = readFirst[indexOf(field)] || !written[indexOf(field)];
        return sheet_.text(field);
    }
    void setText(Field field, std::string_view text) override {
        written[indexOf(field)] = true;
        sheet_.setText(field, text);
    }
    mutable std::array<bool, kFieldCount> readFirst{};
    std::array<bool, kFieldCount> written{};

private:
    Sheet sheet_;
};

// The tables of what each action reads and writes must say what the actions
// really do, or a finding would be missed or made up.
TEST(LenientReading, FieldTablesAgreeWithTheActions) {
    using namespace worked_example;
    Sheet full;
    fill(full, kSection);
    fill(full, kFrame);
    computeStageThicknesses(full);
    computeGrossArea(full);
    for (const Action action : kAllActions) {
        ReadRecordingSheet sheet(full);
        runAction(action, sheet);
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            const Field field = fieldAt(i);
            const bool readStrictly = action == Action::NetArea && field == Field::txmj;
            EXPECT_EQ(sheet.readFirst[i], readsLeniently(action, field) || readStrictly)
                << actionName(action) << " reads " << fieldName(field);
            EXPECT_EQ(sheet.written[i], writes(action, field))
                << actionName(action) << " writes " << fieldName(field);
        }
    }
}

constexpr const char* kSectionLines =
    "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\n";
constexpr const char* kNotBelow =
    ": the widths must decrease, or the thicknesses come out negative";

struct LenientCase {
    const char* name;
    std::string sheet;
    std::vector<Action> actions;
    std::vector<std::string> lines;
    friend void PrintTo(const LenientCase& c, std::ostream* os) { *os << c.name; }
};

class LenientFindings : public testing::TestWithParam<LenientCase> {};

TEST_P(LenientFindings, NameTheFieldItsTextAndTheValueUsed) {
    Sheet sheet;
    ASSERT_FALSE(readSheetLines(GetParam().sheet, sheet));
    std::vector<std::string> lines;
    for (const LenientFinding& finding : findLenientReadings(sheet, GetParam().actions)) {
        lines.push_back(describeFinding(finding));
    }
    EXPECT_EQ(lines, GetParam().lines);
}

constexpr Action kStages = Action::StageThicknesses;

INSTANTIATE_TEST_SUITE_P(
    Table, LenientFindings,
    testing::Values(
        LenientCase{"WorkedExampleIsPlain", kSectionLines, {kStages, Action::GrossArea}, {}},
        LenientCase{"FullWidthDigits",
                    "D=200\nPK1=\xEF\xBC\x91\xEF\xBC\x99\xEF\xBC\x90\nPK2=175\n",
                    {kStages},
                    {"PK1: \"\xEF\xBC\x91\xEF\xBC\x99\xEF\xBC\x90\" read as 0",
                     "PK2: \"175\" is not below PK1 (0)" + std::string(kNotBelow)}},
        LenientCase{"DecimalComma",
                    "txmj=289.499\ndpxs=0,96\n",
                    {Action::NetArea},
                    {"dpxs: \"0,96\" read as 0 (a comma ends a number: use a decimal point)"}},
        LenientCase{"EmptySingleQuantityThatIsRead",
                    std::string(kSectionLines) + "H=600\nM=420\nZ=\nMD=\n",
                    {kStages, Action::CoreWeight},
                    {"Z: \"\" read as 0", "MD: \"\" read as 0", "dpxs: \"\" read as 0"}},
        LenientCase{"SkippedStage",
                    "D=200\nPK1=190\nPK2= \nPK4=130\n",
                    {kStages},
                    {"PK2: \" \" read as 0 while PK4 is given: stage 2 is skipped",
                     "PK3: \"\" read as 0 while PK4 is given: stage 3 is skipped"}},
        LenientCase{"EqualWidths",
                    "D=200\nPK1=190\nPK2=190\n",
                    {kStages},
                    {"PK2: \"190\" is not below PK1 (190)" + std::string(kNotBelow)}},
        LenientCase{"EmptyThicknessOfAStageInUse",
                    "PK1=190\nPK2=175\njh1=62.45\njh2=17.19\n",
                    {Action::TotalStack},
                    {"jh22: \"\" read as 0"}},
        LenientCase{"WrittenByAnEarlierAction",
                    "D=200\nPK1=190\njh1=x\njh22=y\n",
                    {kStages, Action::TotalStack},
                    {}},
        LenientCase{"BeyondTheRangeIsTheActionsError", "D=1E400mm\nPK1=190\n", {kStages}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvitra
