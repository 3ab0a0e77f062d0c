#include "kalvitra/text/typed_numbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvitra {
namespace {

struct WidthListCase {
    const char* name;
    const char* typed;
    std::vector<double> widths;  // empty when the list is refused
    PlainNumberProblem problem;
    std::size_t index;
    const char* badText;
    const char* normal;  // what the box keeps
};

class WidthLists : public ::testing::TestWithParam<WidthListCase> {};

TEST_P(WidthLists, SeparateByEveryListMarkAndNameTheFirstBadWidth) {
    const WidthListCase& c = GetParam();
    const WidthListReading reading = readWidthList(c.typed);
    EXPECT_EQ(reading.problem, c.problem);
    EXPECT_EQ(reading.widths, c.widths);
    EXPECT_EQ(reading.index, c.index);
    EXPECT_EQ(reading.text, c.badText);
    EXPECT_EQ(normaliseWidthList(c.typed), c.normal);
}

using P = PlainNumberProblem;
INSTANTIATE_TEST_SUITE_P(
    TypedNumbers, WidthLists,
    ::testing::Values(
        WidthListCase{"Blanks",
                      " 190\u3000１８０\t160.5 ",
                      {190, 180, 160.5},
                      P::None,
                      0,
                      "",
                      "190 180 160.5 "},
        WidthListCase{"Commas", "210,200,185", {210, 200, 185}, P::None, 0, "", "210 200 185"},
        WidthListCase{
            "FullWidthCommas", "210，200，185", {210, 200, 185}, P::None, 0, "", "210 200 185"},
        WidthListCase{
            "EnumerationCommas", "210、200、185", {210, 200, 185}, P::None, 0, "", "210 200 185"},
        WidthListCase{"Semicolons", "210;200；185", {210, 200, 185}, P::None, 0, "", "210 200 185"},
        WidthListCase{"PastedColumn",
                      "210\r\n200\r\n185\r\n",
                      {210, 200, 185},
                      P::None,
                      0,
                      "",
                      "210 200 185 "},
        WidthListCase{"MarksInARow", "210 , ,200", {210, 200}, P::None, 0, "", "210 200"},
        WidthListCase{"NotANumber", "190 18x5\n160", {}, P::NotANumber, 2, "18x5", "190 18x5 160"},
        WidthListCase{
            "BeyondTheRange", "190、1E+400", {}, P::OutOfRange, 2, "1E+400", "190 1E+400"},
        WidthListCase{"Nothing", " \r\n，", {}, P::Empty, 1, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvitra
