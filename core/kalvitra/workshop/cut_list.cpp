#include "kalvitra/workshop/cut_list.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra::workshop {
namespace {

[[noreturn]] void refuse(DesignInput input, const std::string& message) {
    throw DesignError(input, message);
}

// Steps are the stages as the shop names them: "step 3".
std::string stepPlace(std::size_t index) {
    return "step " + std::to_string(index + 1);
}

// The largest multiple of step that is not above value.
long long floorMultiple(double value, double step) {
    auto multiple = static_cast<long long>(std::floor(value / step));
    while (writtenMultiple(multiple + 1, step) <= value) {
        ++multiple;
    }
    while (multiple > 0 && writtenMultiple(multiple, step) > value) {
        --multiple;
    }
    return multiple;
}

double heightAt(double diameter, double width) {
    return std::sqrt(diameter * diameter - width * width);
}

// A step whose rounded stack is 0. When the widest width is below D/√2, the
// first stage stands taller than it is wide, which no stepped section has:
// D is out of proportion with the widths (1000000 typed for 1000), and D is
// named first, the rounding beside it. Otherwise the widths lie too close
// for the rounding.
[[noreturn]] void refuseStackRoundedAway(const Section& section, std::size_t k, double stackRound) {
    const std::string detail = stepPlace(k) + ": its stack rounds to 0 at a stack rounding of " +
                               writeDefault(stackRound) + " mm";
    const double widest = section.widths.front();
    if (widest * std::numbers::sqrt2 < section.diameter) {
        throw DesignError(DesignInput::Diameter, DesignInput::StackRound,
                          "D " + writeDefault(section.diameter) +
                              " is too large for the widths (the widest, " + writeDefault(widest) +
                              ", is below D/√2): " + detail);
    }
    refuse(DesignInput::StackRound, detail);
}

void checkWidths(const Section& section) {
    checkInput(DesignInput::Diameter, section.diameter);
    checkStageCount(section.widths.size());
    checkWidthsDecrease(section.diameter, section.widths);
}

// Σ w_k · s_k: the section's area by its stacks.
double stackedArea(const Section& section, std::span<const double> stacks) {
    double area = 0;
    for (std::size_t k = 0; k < section.widths.size() && k < stacks.size(); ++k) {
        area += section.widths[k] * stacks[k];
    }
    return area;
}

void checkFrame(const Frame& frame) {
    checkInput(DesignInput::WindowHeight, frame.windowHeight);
    checkInput(DesignInput::CentreDistance, frame.centreDistance);
    checkInput(DesignInput::Limbs, frame.limbs);
    checkInput(DesignInput::Density, frame.density);
    checkInput(DesignInput::StackingFactor, frame.stackingFactor);
}

// Kilograms of plate area × stack (mm³) at ρ g/cm³ and stacking factor k.
double massOf(const Frame& frame, double plateArea, double stack, int perLayer) {
    return frame.density * frame.stackingFactor * plateArea * stack * perLayer / 1e6;
}

CutRow rowOf(const CutList& list, std::size_t step, Piece piece) {
    const Frame& frame = list.frame;
    const double w = list.section.widths[step];
    const double l = list.limbLength;
    const double span = (frame.limbs - 1) * frame.centreDistance;
    CutRow row;
    row.step = static_cast<int>(step) + 1;
    row.piece = piece;
    row.width = w;
    row.stack = list.stacks[step];
    switch (piece) {
        case Piece::OuterLimb:
            row.perLayer = 2;
            row.shortLength = l - w;
            row.longLength = l + w;
            row.plateArea = w * l;
            break;
        case Piece::CentreLimb:
            row.perLayer = frame.limbs - 2;
            row.shortLength = l - w;
            row.longLength = l;
            row.plateArea = w * (l - w / 2);
            break;
        case Piece::Yoke:
            row.perLayer = 2;
            row.shortLength = span - w;
            row.longLength = span + w;
            row.plateArea = span * w - (frame.limbs - 2) * (w * w) / 4;
            break;
    }
    row.mass = massOf(frame, row.plateArea, row.stack, row.perLayer);
    return row;
}

}  // namespace

Section sectionOfSheet(const Sheet& sheet) {
    Section section;
    section.diameter = readSheetInput(sheet, DesignInput::Diameter);
    checkInput(DesignInput::Diameter,
               section.diameter);  // before the widths: a bad D is the first thing to say
    section.widths = stageWidths(sheet);
    checkWidths(section);
    return section;
}

Frame frameOfSheet(const Sheet& sheet) {
    const auto read = [&](DesignInput input) { return readSheetInput(sheet, input); };
    const double limbs = read(DesignInput::Limbs);
    checkInput(DesignInput::Limbs, limbs);
    const Frame frame = {read(DesignInput::WindowHeight), read(DesignInput::CentreDistance),
                         static_cast<int>(limbs), read(DesignInput::Density),
                         read(DesignInput::StackingFactor)};
    checkFrame(frame);
    return frame;
}

CutList cutListOfSheet(const Sheet& sheet, const CutListOptions& options) {
    // The frame first, as the batch tool has always refused a sheet bad in both.
    const Frame frame = frameOfSheet(sheet);
    return cutList(sectionOfSheet(sheet), frame, options);
}

RoundedStacks roundedStacks(const Section& section, double stackRound) {
    checkWidths(section);
    checkInput(DesignInput::StackRound, stackRound);
    if (stackRound != 0) {
        if (section.diameter / stackRound > static_cast<double>(kMaxWrittenMultiple)) {
            refuse(DesignInput::StackRound, "the stack rounding is too fine for the diameter");
        }
    }
    RoundedStacks rounded;
    std::vector<double>& stacks = rounded.stacks;
    stacks.reserve(section.widths.size());
    if (stackRound == 0) {
        double before = 0;
        for (const double width : section.widths) {
            const double height = heightAt(section.diameter, width);
            stacks.push_back(height - before);
            before = height;
        }
        return rounded;
    }
    long long before = 0;
    for (std::size_t k = 0; k < section.widths.size(); ++k) {
        const long long multiple =
            floorMultiple(heightAt(section.diameter, section.widths[k]), stackRound);
        if (multiple <= before) {
            return {{}, k};
        }
        stacks.push_back(writtenMultiple(multiple - before, stackRound));
        before = multiple;
    }
    return rounded;
}

std::vector<double> stepStacks(const Section& section, double stackRound) {
    RoundedStacks rounded = roundedStacks(section, stackRound);
    if (rounded.emptyStep) {
        refuseStackRoundedAway(section, *rounded.emptyStep, stackRound);
    }
    return std::move(rounded.stacks);
}

double netArea(const Section& section, std::span<const double> stacks, double stackingFactor) {
    return stackingFactor * stackedArea(section, stacks);
}

std::string_view pieceName(Piece piece) {
    return namesOf(piece).key;
}

long long sheetCount(double stackingFactor, double stack, double sheetThickness) {
    const double sheets = stackingFactor * stack / sheetThickness;
    return 2 * static_cast<long long>(std::floor(sheets / 2 + 0.5));
}

CutList cutList(const Section& section, const Frame& frame, const CutListOptions& options) {
    CutList list;
    list.stacks = stepStacks(section, options.stackRound);
    checkFrame(frame);
    if (!(frame.centreDistance > section.widths.front())) {
        refuse(DesignInput::CentreDistance,
               "the centre distance " + writeDefault(frame.centreDistance) +
                   " is not above the widest width " + writeDefault(section.widths.front()) +
                   "; the limbs would overlap");
    }
    if (options.sheetThickness) {
        checkInput(DesignInput::SheetThickness, *options.sheetThickness);
    }
    list.section = section;
    list.frame = frame;
    list.limbLength = frame.windowHeight + section.widths.front();
    list.netAreaMm2 = netArea(section, list.stacks, frame.stackingFactor);

    for (std::size_t step = 0; step < section.widths.size(); ++step) {
        std::optional<long long> sheets;
        if (options.sheetThickness) {
            const double count = frame.stackingFactor * list.stacks[step] / *options.sheetThickness;
            if (!(count < 1e15)) {
                refuse(DesignInput::SheetThickness,
                       "the sheet thickness is too small for " + stepPlace(step));
            }
            sheets = sheetCount(frame.stackingFactor, list.stacks[step], *options.sheetThickness);
            if (*sheets == 0) {
                refuse(DesignInput::SheetThickness,
                       stepPlace(step) + ": its stack of " + writeDefault(list.stacks[step]) +
                           " mm holds no pair of sheets " + writeDefault(*options.sheetThickness) +
                           " mm thick");
            }
        }
        for (const Piece piece : {Piece::OuterLimb, Piece::CentreLimb, Piece::Yoke}) {
            if (piece == Piece::CentreLimb && frame.limbs == 2) {
                continue;
            }
            CutRow row = rowOf(list, step, piece);
            if (sheets) {
                row.sheets = sheets;
                row.pieces = row.perLayer * *sheets;
            }
            list.frameMass += row.mass;
            list.rows.push_back(row);
        }
    }
    // Lengths and limbs are bounded; only a density beyond reason is left to
    // carry the mass out of the range of numbers.
    if (!std::isfinite(list.frameMass)) {
        refuse(DesignInput::Density, "the density gives a frame mass beyond the range of numbers");
    }
    return list;
}

std::vector<Vertex> pieceOutline(const CutList& list, const CutRow& row) {
    const double w = row.width;
    switch (row.piece) {
        case Piece::OuterLimb:
            return {{0, 0}, {row.longLength, 0}, {row.longLength - w, w}, {w, w}};
        case Piece::CentreLimb:
            return {{0, w / 2},
                    {w / 2, 0},
                    {row.longLength - w / 2, 0},
                    {row.longLength, w / 2},
                    {row.longLength - w / 2, w},
                    {w / 2, w}};
        case Piece::Yoke: {
            // The inner edge, right to left, dips into a V under every centre
            // limb, whose axis stands w/2 + j·C from the outer end.
            std::vector<Vertex> outline = {{0, 0}, {row.longLength, 0}, {row.longLength - w, w}};
            const double c = list.frame.centreDistance;
            for (int j = list.frame.limbs - 2; j >= 1; --j) {
                const double axis = w / 2 + j * c;
                outline.push_back({axis + w / 2, w});
                outline.push_back({axis, w / 2});
                outline.push_back({axis - w / 2, w});
            }
            outline.push_back({w, w});
            return outline;
        }
    }
    return {};
}

std::string writeCutListCsv(const CutList& list, CsvWords words) {
    const bool chinese = words == CsvWords::Chinese;
    const CutListHeads& h = chinese ? kChineseCutListHeads : kCutListKeys;
    std::string out;
    for (const std::string_view head : {h.step, h.piece, h.width, h.shortLength, h.longLength,
                                        h.perLayer, h.stack, h.sheets, h.pieces, h.mass}) {
        out += out.empty() ? "" : ",";
        out += head;
    }
    out += '\n';
    for (const CutRow& row : list.rows) {
        const PieceNames& names = namesOf(row.piece);
        out += std::to_string(row.step) + ',' + std::string(chinese ? names.chinese : names.key) +
               ',' + writeShortest(row.width) + ',' + writeShortest(row.shortLength) + ',' +
               writeShortest(row.longLength) + ',' + std::to_string(row.perLayer) + ',' +
               writeShortest(row.stack) + ',' + (row.sheets ? std::to_string(*row.sheets) : "") +
               ',' + (row.pieces ? std::to_string(*row.pieces) : "") + ',' +
               writeShortest(row.mass) + '\n';
    }
    return out;
}

double threeLimbsConventionMass(const CutList& list) {
    const Frame& frame = list.frame;
    return frame.density * frame.stackingFactor * stackedArea(list.section, list.stacks) *
           (3 * frame.windowHeight + 4 * frame.centreDistance + 2 * list.section.diameter) / 1e6;
}

double calculatorWeight(const Sheet& sheet) {
    Sheet copy = sheet;
    runAction(Action::StageThicknesses, copy);
    runAction(Action::CoreWeight, copy);
    return readLenient(copy.textRef(Field::txz));
}

}  // namespace kalvitra::workshop
