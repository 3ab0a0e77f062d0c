// The design commands driven in process: what goes to standard output and
// standard error, and the exit status, for good and bad command lines.

#include "design_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "batch.h"
#include "command_run.h"
#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::cli {
namespace {

CommandRun run(std::string_view command, const std::vector<std::string>& args,
               std::string_view input = "") {
    return runInProcess(command, args, input);
}

// ---- bad command lines and input -----------------------------------------

struct BadUse {
    const char* name;
    const char* command;
    std::vector<std::string> args;
    std::string input;
    std::string message;  // the whole of standard error, without its line feed
    friend void PrintTo(const BadUse& c, std::ostream* os) { *os << c.name; }
};

class DesignBadUse : public testing::TestWithParam<BadUse> {};

TEST_P(DesignBadUse, ExitsTwoWithOneLineAndNoOutput) {
    const BadUse& c = GetParam();
    const CommandRun result = run(c.command, c.args, c.input);
    EXPECT_EQ(result.status, kExitBadInput);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.message + "\n");
}

std::vector<std::string> widthsArgs(std::string diameter, std::string stages,
                                    std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--diameter", std::move(diameter), "--stages",
                                     std::move(stages)};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::vector<std::string> diameterArgs(std::string area, std::string factor,
                                      std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--net-area",      std::move(area), "--stacking-factor",
                                     std::move(factor), "--stages",      "6"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

constexpr const char* kW = "kalvitra-cli widths: ";
constexpr const char* kD = "kalvitra-cli diameter: ";
constexpr const char* kS = "kalvitra-cli section: ";
const std::string kPositiveD = "the diameter must be a number greater than 0";
const std::string kStageRange = "the number of stages must be a whole number from 1 to 9";
const std::string kPositiveGrid = "the grid must be a number greater than 0";
const std::string kFactorRange =
    "the stacking factor must be a number greater than 0 and at most 1";
const std::string kPositiveArea = "the net area must be a number greater than 0";

INSTANTIATE_TEST_SUITE_P(
    Widths, DesignBadUse,
    testing::Values(
        BadUse{"DiameterNotANumber", "widths", widthsArgs("abc", "3"), "",
               kW + std::string("--diameter \"abc\": not a number")},
        BadUse{"DiameterWithUnit", "widths", widthsArgs("200mm", "3"), "",
               kW + std::string("--diameter \"200mm\": not a number")},
        BadUse{"DiameterWithDecimalComma", "widths", widthsArgs("200,5", "3"), "",
               kW + std::string("--diameter \"200,5\": not a number (use a decimal point)")},
        BadUse{"DiameterEmpty", "widths", widthsArgs("", "3"), "",
               kW + std::string("--diameter \"\": not a number")},
        BadUse{"DiameterInfinite", "widths", widthsArgs("inf", "3"), "",
               kW + std::string("--diameter \"inf\": not a number")},
        BadUse{"DiameterNaN", "widths", widthsArgs("nan", "3"), "",
               kW + std::string("--diameter \"nan\": not a number")},
        BadUse{"DiameterBeyondRange", "widths", widthsArgs("1e999", "3"), "",
               kW + std::string("--diameter \"1e999\": beyond the range of numbers")},
        BadUse{"DiameterZero", "widths", widthsArgs("0", "3"), "",
               kW + std::string("--diameter \"0\": ") + kPositiveD},
        BadUse{"DiameterNegative", "widths", widthsArgs("-200", "3"), "",
               kW + std::string("--diameter \"-200\": ") + kPositiveD},
        BadUse{"DiameterTooLargeToSquare", "widths", widthsArgs("1e308", "3"), "",
               kW + std::string("--diameter \"1e308\": the diameter must lie between 1E-100 and "
                                "1E+100")},
        BadUse{"StagesZero", "widths", widthsArgs("200", "0"), "",
               kW + std::string("--stages \"0\": ") + kStageRange},
        BadUse{"StagesTen", "widths", widthsArgs("200", "10", {"--grid", "5"}), "",
               kW + std::string("--stages \"10\": ") + kStageRange},
        BadUse{"StagesFraction", "widths", widthsArgs("200", "2.5"), "",
               kW + std::string("--stages \"2.5\": ") + kStageRange},
        BadUse{"GridZero", "widths", widthsArgs("200", "3", {"--grid", "0"}), "",
               kW + std::string("--grid \"0\": ") + kPositiveGrid},
        BadUse{"GridNegative", "widths", widthsArgs("200", "3", {"--grid", "-5"}), "",
               kW + std::string("--grid \"-5\": ") + kPositiveGrid},
        BadUse{"GridTooCoarse", "widths", widthsArgs("200", "3", {"--grid", "200"}), "",
               kW + std::string("--grid \"200\": no multiple of the grid lies between the "
                                "minimum width and the diameter; the grid is too coarse for "
                                "even one stage")},
        BadUse{"GridTooCoarseAboveMinWidth", "widths",
               widthsArgs("200", "3", {"--grid", "30", "--min-width", "185"}), "",
               kW + std::string("--grid \"30\": no multiple of the grid lies between the "
                                "minimum width and the diameter; the grid is too coarse for "
                                "even one stage")},
        BadUse{"GridTooFine", "widths", widthsArgs("1000", "3", {"--grid", "0.01"}), "",
               kW + std::string("--diameter \"1000\", --grid \"0.01\": D 1000 holds more than "
                                "20000 widths of the grid 0.01 mm; make D smaller or the grid "
                                "coarser")},
        BadUse{"MinWidthEqualsD", "widths",
               widthsArgs("200", "3", {"--grid", "5", "--min-width", "200"}), "",
               kW + std::string("--min-width \"200\": the minimum width must be below the "
                                "diameter")},
        BadUse{"MinWidthAboveDContinuous", "widths", widthsArgs("200", "3", {"--min-width", "300"}),
               "",
               kW + std::string("--min-width \"300\": the minimum width must be below the "
                                "diameter")},
        BadUse{"MinWidthNegative", "widths",
               widthsArgs("200", "3", {"--grid", "5", "--min-width", "-1"}), "",
               kW + std::string("--min-width \"-1\": the minimum width must be a number of 0 "
                                "or more")},
        BadUse{"StackingFactorAboveOne", "widths",
               widthsArgs("200", "3", {"--stacking-factor", "1.2"}), "",
               kW + std::string("--stacking-factor \"1.2\": ") + kFactorRange},
        BadUse{"MissingDiameter",
               "widths",
               {"--stages", "3"},
               "",
               kW + std::string("--diameter is required; see kalvitra-cli widths --help")},
        BadUse{"MissingStages",
               "widths",
               {"--diameter", "200"},
               "",
               kW + std::string("--stages is required; see kalvitra-cli widths --help")},
        BadUse{"OptionWithoutValue",
               "widths",
               {"--diameter", "200", "--stages"},
               "",
               kW + std::string("--stages needs a value; see kalvitra-cli widths --help")},
        BadUse{"OptionGivenTwice", "widths", widthsArgs("200", "3", {"--stages", "4"}), "",
               kW + std::string("--stages: At Most 1 required but received 2; see kalvitra-cli "
                                "widths --help")},
        BadUse{"UnknownOption", "widths", widthsArgs("200", "3", {"--width", "5"}), "",
               kW + std::string("unknown option \"--width\" (did you mean --min-width?); see "
                                "kalvitra-cli widths --help")},
        BadUse{"MisspeltOptionIsNamedBeforeTheMissingOne",
               "widths",
               {"--diamter", "200", "--stages", "6"},
               "",
               kW + std::string("unknown option \"--diamter\" (did you mean --diameter?); see "
                                "kalvitra-cli widths --help")},
        BadUse{"StrayArgument", "widths", widthsArgs("200", "3", {"stages"}), "",
               kW + std::string("unexpected argument \"stages\"; see kalvitra-cli widths "
                                "--help")}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Diameter, DesignBadUse,
    testing::Values(
        BadUse{"NetAreaZero", "diameter", diameterArgs("0", "0.96"), "",
               kD + std::string("--net-area \"0\": ") + kPositiveArea},
        BadUse{"NetAreaNegative", "diameter", diameterArgs("-100", "0.96"), "",
               kD + std::string("--net-area \"-100\": ") + kPositiveArea},
        BadUse{"NetAreaTrailingJunk", "diameter", diameterArgs("100 cm2", "0.96"), "",
               kD + std::string("--net-area \"100 cm2\": not a number")},
        BadUse{"StackingFactorZero", "diameter", diameterArgs("100", "0"), "",
               kD + std::string("--stacking-factor \"0\": ") + kFactorRange},
        BadUse{"StackingFactorAboveOne", "diameter", diameterArgs("100", "1.0001"), "",
               kD + std::string("--stacking-factor \"1.0001\": ") + kFactorRange},
        BadUse{"StackingFactorPercent", "diameter", diameterArgs("100", "96%"), "",
               kD + std::string("--stacking-factor \"96%\": not a number")},
        BadUse{"StagesTen",
               "diameter",
               {"--net-area", "100", "--stacking-factor", "0.96", "--stages", "10"},
               "",
               kD + std::string("--stages \"10\": ") + kStageRange},
        BadUse{"GridZero", "diameter", diameterArgs("100", "0.96", {"--grid", "0"}), "",
               kD + std::string("--grid \"0\": ") + kPositiveGrid},
        BadUse{"StepZero", "diameter", diameterArgs("100", "0.96", {"--diameter-step", "0"}), "",
               kD + std::string("--diameter-step \"0\": the diameter step must be a number "
                                "greater than 0")},
        BadUse{"GridTooFineForTheArea", "diameter",
               diameterArgs("1000000", "0.96", {"--grid", "0.01"}), "",
               kD + std::string("--grid \"0.01\": the grid is too fine for a core of this area "
                                "(more than 20000 widths)")},
        BadUse{"DefaultGridTooFineForTheArea", "diameter", diameterArgs("1e300", "0.96"), "",
               kD + std::string("--grid \"5\": the grid is too fine for a core of this area "
                                "(more than 20000 widths)")},
        BadUse{"MissingNetArea",
               "diameter",
               {"--stacking-factor", "0.96", "--stages", "6"},
               "",
               kD + std::string("--net-area is required; see kalvitra-cli diameter --help")},
        BadUse{"MissingStackingFactor",
               "diameter",
               {"--net-area", "100", "--stages", "6"},
               "",
               kD + std::string("--stacking-factor is required; see kalvitra-cli diameter --help")},
        BadUse{"MissingStages",
               "diameter",
               {"--net-area", "100", "--stacking-factor", "0.96"},
               "",
               kD + std::string("--stages is required; see kalvitra-cli diameter --help")},
        BadUse{"DiameterIsNotAnOption", "diameter",
               diameterArgs("100", "0.96", {"--diameter", "200"}), "",
               kD + std::string("unknown option \"--diameter\" (did you mean --diameter-step?); "
                                "see kalvitra-cli diameter --help")}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Section, DesignBadUse,
    testing::Values(
        BadUse{"Argument",
               "section",
               {"stages"},
               "D=200\nPK1=190\n",
               kS + std::string("unexpected argument \"stages\"; see kalvitra-cli section --help")},
        BadUse{"UnknownField",
               "section",
               {},
               "D=200\nPK1=190\nWidth=3\n",
               kS + std::string("line 3: unknown field \"Width\"")},
        BadUse{"InvalidUtf8",
               "section",
               {},
               "D=200\nText1=\xFF\n",
               kS + std::string("line 2: invalid UTF-8 at byte 7 of the line")},
        BadUse{"NoWidths",
               "section",
               {},
               "D=200\n",
               kS + std::string("no stage width given (PK1..PK9)")},
        BadUse{"NoDiameterNorWidths",
               "section",
               {},
               "Text1=x\n",
               kS + std::string("D: ") + kPositiveD},
        BadUse{"NegativeDiameter",
               "section",
               {},
               "D=-200\nPK1=190\n",
               kS + std::string("D: ") + kPositiveD},
        BadUse{"TinyDiameter",
               "section",
               {},
               "D=1e-300\nPK1=1e-300\n",
               kS + std::string("D: the diameter must lie between 1E-100 and 1E+100")},
        BadUse{"WidthsGrow",
               "section",
               {},
               "D=200\nPK1=100\nPK2=150\n",
               kS + std::string(
                        "stage 2 (PK2) comes out -20.46 mm thick; the widths must decrease from "
                        "stage to stage")},
        BadUse{"Gap",
               "section",
               {},
               "D=200\nPK1=190\nPK3=150\n",
               kS + std::string(
                        "stage 2 (PK2) has no width but stage 3 has one; the stages in use must "
                        "come first")},
        BadUse{"NegativeWidth",
               "section",
               {},
               "D=200\nPK1=190\nPK2=-20\n",
               kS + std::string("stage 2 (PK2): a width must be greater than 0")}),
    [](const auto& info) { return std::string(info.param.name); });

// An action that stops is the action's error, as with the actions alone.
TEST(Section, ActionErrorExitsOneWithTheErrorLineAndNoDrawing) {
    const struct {
        const char* input;
        const char* message;
    } cases[] = {
        {"D=200\nPK1=300\n",
         "error: invalid-argument: stage 1 (PK1): negative number under the square root (the "
         "width is larger than the core diameter D)"},
        {"D=200\nPK1=190\nPK2=175\nPK3=201\n",
         "warning: PK3: \"201\" is not below PK2 (175): the widths must decrease, or the "
         "thicknesses come out negative\n"
         "error: invalid-argument: stage 3 (PK3): negative number under the square root (the "
         "width is larger than the core diameter D)"},
        {"PK1=5\n",
         "warning: D: \"\" read as 0\n"
         "error: invalid-argument: stage 1 (PK1): negative number under the square root (the "
         "width is larger than the core diameter D)"},
        {"D=1E+200\nPK1=1\n",
         "error: overflow: stage 1 (PK1), D² − width²: result beyond the "
         "double range"},
    };
    for (const auto& c : cases) {
        const CommandRun result = run("section", {}, c.input);
        EXPECT_EQ(result.status, kExitCalculationFailed) << c.input;
        EXPECT_EQ(result.out, "") << c.input;
        EXPECT_EQ(result.err, std::string(c.message) + "\n") << c.input;
    }
}

// ---- widths and diameter ------------------------------------------------

TEST(Widths, GridAnswerIsASheetOfExactGridValues) {
    const CommandRun result = run("widths", widthsArgs("200", "6", {"--grid", "5"}));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=95\nPK6=55\n");
    EXPECT_EQ(result.err,
              "6 stages, widths on a 5 mm grid, D = 200 mm\n"
              "ideal gross area 289.68 cm\u00B2, utilisation 92.21 %\n");
}

TEST(Widths, StackingFactorAddsDpxsAndTheNetArea) {
    const CommandRun result =
        run("widths", widthsArgs("200", "6", {"--grid", "5", "--stacking-factor", "0.960"}));
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("D=200\ndpxs=0.960\nPK1=190\n")) << result.out;
    EXPECT_NE(result.err.find("net area 278.1 cm\u00B2 at stacking factor 0.960"),
              std::string::npos)
        << result.err;
}

TEST(Widths, ContinuousAnswerHasFifteenDigitsThatReadBack) {
    const CommandRun result = run("widths", widthsArgs(" 200.0 ", "6"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "D=200\nPK1=191.9841125123\nPK2=175.617651237213\nPK3=154.013644697788\n"
              "PK4=127.592308729419\nPK5=95.6997417651922\nPK6=56.0544426683957\n");
    EXPECT_TRUE(result.err.starts_with("6 stages, continuous widths, D = 200 mm\n")) << result.err;
    EXPECT_NE(result.err.find("utilisation 92.28 %"), std::string::npos) << result.err;
}

TEST(Widths, FewerStagesOnlyWhenTheGridHoldsNoMore) {
    const CommandRun coarse = run("widths", widthsArgs("20", "9", {"--grid", "5"}));
    EXPECT_EQ(coarse.out, "D=20\nPK1=15\nPK2=10\nPK3=5\n");
    EXPECT_TRUE(coarse.err.starts_with("3 stages,")) << coarse.err;
    const CommandRun decimal =
        run("widths", widthsArgs("1", "3", {"--grid", "0.1", "--min-width", ".2"}));
    EXPECT_EQ(decimal.out, "D=1\nPK1=0.9\nPK2=0.7\nPK3=0.4\n");
}

TEST(Diameter, SmallestCoreForTheNetArea) {
    const CommandRun result =
        run("diameter", {"--net-area", "1000", "--stacking-factor", "0.96", "--stages", "9"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "D=375\ndpxs=0.96\nPK1=365\nPK2=345\nPK3=320\nPK4=290\nPK5=260\nPK6=225\n"
              "PK7=185\nPK8=140\nPK9=80\n");
    EXPECT_EQ(result.err,
              "9 stages, widths on a 5 mm grid, D = 375 mm, the smallest multiple of 5 mm that "
              "reaches 1000 cm\u00B2 net\n"
              "ideal gross area 1047.12 cm\u00B2, net area 1005.23 cm\u00B2 at stacking factor "
              "0.96, utilisation 94.81 %\n");
}

TEST(Diameter, StackingFactorIsWrittenExactlyAsGiven) {
    const CommandRun result =
        run("diameter", {"--net-area", "289.499", "--stacking-factor", " .960", "--stages", "6",
                         "--grid", "1", "--diameter-step", "2.5"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\ndpxs= .960\n"), std::string::npos) << result.out;
    const design::StepWidths expected = design::smallestDiameter({289.499, 0.96, 6, 1, 2.5, 0});
    EXPECT_TRUE(result.out.starts_with("D=" + writeDefault(expected.diameter) + "\n"))
        << result.out;
}

TEST(DesignCommands, HelpGoesToStandardOutputWithAnExample) {
    for (const char* command : {"widths", "diameter", "section"}) {
        const CommandRun result = run(command, {"--help"});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_EQ(result.err, "") << command;
        EXPECT_NE(result.out.find(std::string("Usage: kalvitra-cli ") + command), std::string::npos)
            << result.out;
        EXPECT_NE(result.out.find("EXAMPLE:\n  kalvitra-cli "), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Exit status"), std::string::npos) << result.out;
    }
}

// ---- the section drawing -------------------------------------------------

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data of a <text>

    double number(const std::string& attribute) const {
        const auto found = attributes.find(attribute);
        EXPECT_NE(found, attributes.end()) << name << " has no " << attribute;
        return found == attributes.end() ? NAN : std::stod(found->second);
    }
    bool hasClass(const std::string& cssClass) const {
        const auto found = attributes.find("class");
        return found != attributes.end() &&
               (" " + found->second + " ").find(" " + cssClass + " ") != std::string::npos;
    }
};

// The elements of the drawing in document order, with their attributes.
// Markup characters inside values are escaped, so a '>' ends a tag and a
// '"' ends a value.
std::vector<Element> elementsOf(const std::string& svg) {
    std::vector<Element> elements;
    std::size_t at = 0;
    while ((at = svg.find('<', at)) != std::string::npos) {
        ++at;
        if (at >= svg.size() || svg[at] == '/' || svg[at] == '?') {
            continue;
        }
        const std::size_t nameEnd = svg.find_first_of(" \t\n/>", at);
        const std::size_t tagEnd = svg.find('>', nameEnd);
        if (nameEnd == std::string::npos || tagEnd == std::string::npos) {
            ADD_FAILURE() << "unterminated tag at " << at;
            break;
        }
        Element parsed;
        parsed.name = svg.substr(at, nameEnd - at);
        const std::string tag = svg.substr(nameEnd, tagEnd - nameEnd);
        for (std::size_t equals = tag.find("=\""); equals != std::string::npos;
             equals = tag.find("=\"", equals + 1)) {
            const std::size_t nameStart = tag.find_last_of(" \t\n", equals) + 1;
            const std::size_t close = tag.find('"', equals + 2);
            parsed.attributes[tag.substr(nameStart, equals - nameStart)] =
                tag.substr(equals + 2, close - equals - 2);
            equals = close;
        }
        if (parsed.name == "text") {
            parsed.text = svg.substr(tagEnd + 1, svg.find("</text>", tagEnd) - tagEnd - 1);
        }
        elements.push_back(std::move(parsed));
        at = tagEnd + 1;
    }
    return elements;
}

struct SectionCase {
    const char* name;
    std::string sheet;
    std::vector<double> widths;       // as typed
    std::vector<double> thicknesses;  // as the action shows them
    std::vector<std::string> labels;  // width and thickness texts of every stage
    std::string warnings = "";        // the whole of standard error
    friend void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }
};

class SectionDrawingGeometry : public testing::TestWithParam<SectionCase> {};

TEST_P(SectionDrawingGeometry, PacketsCircleAndLabelsMatchTheSheet) {
    const SectionCase& c = GetParam();
    const CommandRun result = run("section", {}, c.sheet);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, c.warnings);
    const std::string& svg = result.out;
    EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
    EXPECT_EQ(svg.find("transform"), std::string::npos);

    const std::vector<Element> elements = elementsOf(svg);
    ASSERT_FALSE(elements.empty());
    const Element& root = elements.front();
    ASSERT_EQ(root.name, "svg");
    double viewBox[4] = {};
    ASSERT_EQ(std::sscanf(root.attributes.at("viewBox").c_str(), "%lf %lf %lf %lf", &viewBox[0],
                          &viewBox[1], &viewBox[2], &viewBox[3]),
              4);
    // One unit per millimetre, also on paper.
    EXPECT_EQ(root.attributes.at("width"), writeDefault(viewBox[2]) + "mm");
    EXPECT_EQ(root.attributes.at("height"), writeDefault(viewBox[3]) + "mm");
    const auto inside = [&](double x, double y) {
        return x >= viewBox[0] && x <= viewBox[0] + viewBox[2] && y >= viewBox[1] &&
               y <= viewBox[1] + viewBox[3];
    };

    const std::size_t diameterAt = c.sheet.find("D=") + 2;
    const double diameter =
        readLenient(c.sheet.substr(diameterAt, c.sheet.find('\n', diameterAt) - diameterAt));
    const double radius = diameter / 2;
    const Element* circle = nullptr;
    std::vector<const Element*> packets;
    for (const Element& e : elements) {
        if (e.name == "circle" && !e.hasClass("leader-end")) {
            EXPECT_EQ(circle, nullptr) << "one circle of the core";
            circle = &e;
        }
        if (e.name == "rect" && e.hasClass("packet")) {
            packets.push_back(&e);
        }
        if (e.name == "rect" || e.name == "line" || e.name == "circle") {
            for (const auto& [x, y] :
                 {std::pair{"x", "y"}, {"x1", "y1"}, {"x2", "y2"}, {"cx", "cy"}}) {
                if (e.attributes.contains(x)) {
                    EXPECT_TRUE(inside(e.number(x), e.number(y))) << e.name << " at " << x;
                }
            }
        }
        if (e.name == "text") {
            EXPECT_TRUE(inside(e.number("x"), e.number("y"))) << e.text;
        }
    }
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->number("cx"), 0);
    EXPECT_EQ(circle->number("cy"), 0);
    EXPECT_EQ(circle->number("r"), radius);
    EXPECT_TRUE(inside(-radius, -radius) && inside(radius, radius));

    // Stage 1 once across the axis, every later stage above and below.
    const std::size_t stages = c.widths.size();
    ASSERT_EQ(packets.size(), 2 * stages - 1);
    double above = c.thicknesses[0] / 2;
    double below = c.thicknesses[0] / 2;
    constexpr double kDrawn = 1e-9;  // coordinates carry 15 digits
    for (std::size_t k = 0; k < stages; ++k) {
        const std::string cssClass = "stage-" + std::to_string(k + 1);
        std::vector<const Element*> ofStage;
        for (const Element* packet : packets) {
            if (packet->hasClass(cssClass)) {
                ofStage.push_back(packet);
            }
        }
        ASSERT_EQ(ofStage.size(), k == 0 ? 1u : 2u) << cssClass;
        for (const Element* packet : ofStage) {
            const double w = c.widths[k];
            const double t = c.thicknesses[k];
            EXPECT_NEAR(packet->number("x"), -w / 2, kDrawn) << cssClass;
            EXPECT_NEAR(packet->number("width"), w, kDrawn) << cssClass;
            EXPECT_NEAR(packet->number("height"), t, kDrawn) << cssClass;
            const double y = packet->number("y");
            if (k == 0) {
                EXPECT_NEAR(y, -above, kDrawn);
            } else if (y < 0) {
                EXPECT_NEAR(y, -(above + t), kDrawn) << cssClass << " above";
            } else {
                EXPECT_NEAR(y, below, kDrawn) << cssClass << " below";
            }
            // The outer corners lie on the circle, up to the two-decimal
            // rounding of the thicknesses (0.005 mm a stage).
            const double outer = std::max(std::abs(y), std::abs(y + packet->number("height")));
            EXPECT_NEAR(std::hypot(w / 2, outer), radius, 0.005 * static_cast<double>(k + 1))
                << cssClass;
        }
        if (k > 0) {
            above += c.thicknesses[k];
            below += c.thicknesses[k];
        }
    }

    std::vector<std::string> widthLabels;
    std::vector<std::string> thicknessLabels;
    std::vector<std::string> texts;
    for (const Element& e : elements) {
        if (e.name != "text") {
            continue;
        }
        texts.push_back(e.text);
        if (e.hasClass("width")) {
            widthLabels.push_back(e.text);
        } else if (e.hasClass("thickness")) {
            thicknessLabels.push_back(e.text);
        }
    }
    std::vector<std::string> labels;
    for (std::size_t k = 0; k < stages; ++k) {
        labels.push_back(widthLabels.at(k));
        labels.push_back(thicknessLabels.at(k));
    }
    EXPECT_EQ(labels, c.labels);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "D = " + writeDefault(diameter) + " mm"),
              texts.end());
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SectionDrawingGeometry,
    testing::Values(
        SectionCase{"WorkedExample",
                    "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\n",
                    {190, 175, 155, 130, 100, 65},
                    {62.45, 17.19, 14.78, 12.8, 10.61, 7.97},
                    {"190", "62.45", "175", "17.19", "155", "14.78", "130", "12.8", "100", "10.61",
                     "65", "7.97"}},
        SectionCase{"OneStage",
                    "D=100\nPK1=70.7106781186548\n",
                    {70.7106781186548},
                    {70.71},
                    {"70.71", "70.71"}},
        SectionCase{"WidthTextsAreReadLikeTheActionsReadThem",
                    "D= 200 mm\nPK1=190mm\nPK2=1 75\n",
                    {190, 175},
                    {62.45, 17.19},
                    {"190", "62.45", "175", "17.19"},
                    "warning: D: \" 200 mm\" read as 200\nwarning: PK1: \"190mm\" read as 190\n"
                    "warning: PK2: \"1 75\" read as 175\n"},
        SectionCase{
            "StageAsWideAsD", "D=50\nPK1=50\nPK2=40\n", {50, 40}, {0, 15}, {"50", "0", "40", "15"}},
        SectionCase{"NineSmallStages",
                    "D=1\nPK1=0.9\nPK2=0.8\nPK3=0.7\nPK4=0.6\nPK5=0.5\nPK6=0.4\nPK7=0.3\nPK8=0.2\n"
                    "PK9=0.1\n",
                    {0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1},
                    {0.44, 0.08, 0.06, 0.04, 0.03, 0.03, 0.02, 0.01, 0.01},
                    {"0.9", "0.44", "0.8", "0.08", "0.7", "0.06", "0.6", "0.04", "0.5", "0.03",
                     "0.4", "0.03", "0.3", "0.02", "0.2", "0.01", "0.1", "0.01"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SectionDrawing, ShowsTheGrossAreaAndUtilisationOfTheSheet) {
    const CommandRun result =
        run("section", {}, "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\n");
    EXPECT_NE(result.out.find(">gross area 289.499 cm\u00B2</text>"), std::string::npos);
    // 28949.9 mm² of the circle's 31415.9...
    EXPECT_NE(result.out.find(">utilisation 92.15 %</text>"), std::string::npos);
    EXPECT_NE(result.out.find("font-family=\"DejaVu Sans, "), std::string::npos);
}

TEST(SectionDrawing, TitleFromTheSheetIsEscaped) {
    const CommandRun result =
        run("section", {}, "D=200\nPK1=190\nText1=<b>A&B</b> \"x\" 'y'\x01\nText2=\xE5\x8F\x98\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(">&lt;b&gt;A&amp;B&lt;/b&gt; &quot;x&quot; &apos;y&apos;\xEF\xBF\xBD"
                              "   \xE5\x8F\x98</text>"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("<b>"), std::string::npos);
}

TEST(EscapeXml, MarkupAndControlCharacters) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"190", "190"},
        {"a<b>&c", "a&lt;b&gt;&amp;c"},
        {"\"'", "&quot;&apos;"},
        {"tab\there", "tab\there"},
        {std::string_view("nul\0bell\x07", 9),
         "nul\xEF\xBF\xBD"
         "bell\xEF\xBF\xBD"},
        {"\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8", "\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8"},
        {"&amp;", "&amp;amp;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawing::escapeXml(c.in), c.out) << c.in;
    }
}

// ---- whatever comes in ---------------------------------------------------

void expectOneReadableLine(const std::string& message) {
    ASSERT_FALSE(message.empty());
    EXPECT_TRUE(message.ends_with('\n')) << message;
    EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    EXPECT_TRUE(isValidUtf8(message)) << message;
}

// Random sheets of plausible and implausible numbers: the section is drawn
// as well-formed text, or refused with one line and no drawing.
TEST(SectionOfAnySheet, DrawsOrRefusesCleanly) {
    const std::vector<std::string> numbers = {"",    "0",    "200",    "190",    "175",
                                              "100", "-50",  "1E+300", "1e-300", "0.01",
                                              "abc", "65.5", "300",    "2E",     "1 5"};
    const std::vector<std::string> titles = {"", "<&>", "\x01\x1F", "\xE5\x8F\x98", "'\""};
    std::mt19937 random(11);
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    for (int i = 0; i < 300; ++i) {
        std::string sheet = "D=" + pick(numbers) + "\nText1=" + pick(titles) + "\n";
        for (int stage = 1; stage <= 9; ++stage) {
            if (random() % 3 != 0) {
                sheet += "PK" + std::to_string(stage) + "=" + pick(numbers) + "\n";
            }
        }
        const CommandRun result = run("section", {}, sheet);
        if (result.status == 0) {
            EXPECT_TRUE(result.out.ends_with("</svg>\n")) << sheet;
            EXPECT_TRUE(isValidUtf8(result.out)) << sheet;
            for (const char c : result.out) {
                EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\n') << sheet;
            }
            EXPECT_EQ(result.out.find("nan"), std::string::npos) << sheet;
            EXPECT_EQ(result.out.find("inf"), std::string::npos) << sheet;
        } else {
            EXPECT_TRUE(result.status == 1 || result.status == 2) << sheet;
            EXPECT_EQ(result.out, "") << sheet;
            // Warnings about what was read leniently, then the one refusal.
            std::size_t refusal = 0;
            while (result.err.compare(refusal, 9, "warning: ") == 0) {
                refusal = result.err.find('\n', refusal) + 1;
            }
            expectOneReadableLine(result.err.substr(refusal));
        }
    }
}

TEST(DesignOfAnyOptions, AnswersOrRefusesWithOneLine) {
    // Good values come up more often, so that whole good questions do too.
    const std::vector<std::string> values = {"200", "200", "0.96",  "0.96",  "6",   "6",   "5",
                                             "5",   "0.5", "1,000", "1",     "0",   "-1",  "9",
                                             "10",  "x",   "",      "1e308", "inf", "3.5", "300"};
    const std::vector<std::string> options = {"--diameter",     "--stages",   "--grid",
                                              "--min-width",    "--net-area", "--stacking-factor",
                                              "--diameter-step"};
    std::mt19937 random(5);
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    int answered = 0;
    for (int i = 0; i < 300; ++i) {
        const bool widths = i % 2 == 0;
        std::vector<std::string> args;
        for (const char* required :
             widths ? std::vector<const char*>{"--diameter", "--stages"}
                    : std::vector<const char*>{"--net-area", "--stacking-factor", "--stages"}) {
            args.push_back(required);
            args.push_back(pick(values));
        }
        for (int k = static_cast<int>(random() % 3); k > 0; --k) {
            args.push_back(pick(options));
            args.push_back(pick(values));
        }
        const CommandRun result = run(widths ? "widths" : "diameter", args);
        answered += result.status == 0 ? 1 : 0;
        if (result.status == 0) {
            EXPECT_TRUE(result.out.starts_with("D=")) << result.out;
            EXPECT_EQ(result.out.back(), '\n');
        } else {
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.out, "");
            expectOneReadableLine(result.err);
        }
    }
    EXPECT_GT(answered, 10) << "the mix should also hold good questions";
}

}  // namespace
}  // namespace kalvitra::cli
