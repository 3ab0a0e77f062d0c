#include "kalvitra/design/best_widths.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/cut_list.h"

namespace kalvitra::design {
namespace {

[[noreturn]] void refuse(DesignInput input, const std::string& message) {
    throw DesignError(input, message);
}

[[noreturn]] void refuseTooFineGrid(std::string_view forWhat) {
    refuse(DesignInput::Grid, "the grid is too fine for " + std::string(forWhat) + " (more than " +
                                  std::to_string(kMaxGridWidths) + " widths)");
}

void checkMinWidthBelow(double minWidth, double diameter) {
    checkInput(DesignInput::MinWidth, minWidth);
    if (!(minWidth < diameter)) {
        refuse(DesignInput::MinWidth, "the minimum width must be below the diameter");
    }
}

double thicknessAt(double diameter, double width) {
    return std::sqrt(diameter * diameter - width * width);
}

// ---- Continuous optimum -------------------------------------------------
//
// For D = 1 write w_k = cos θ_k and h_k = sin θ_k, 0 < θ_1 < ... < θ_n < π/2.
// The area Σ cos θ_k (sin θ_k − sin θ_(k−1)) is largest where every partial
// derivative vanishes:
//   g_k = cos 2θ_k + sin θ_(k−1) sin θ_k − cos θ_k cos θ_(k+1) = 0,
// with sin θ_0 = 0 and cos θ_(n+1) = 0. The best section scales with D, so
// the widths of the unit circle are all there is to know. They are kept as
// constants, solved once to 60 digits and rounded to the nearest double,
// rather than solved here: sines and cosines differ in their last bit from
// one C library to the next, and the widths must be the same digits on every
// system. A test checks that every g_k vanishes at these widths.
constexpr std::array<std::array<double, kStageCount>, kStageCount + 1> kUnitWidths = {{
    {},
    {0x1.6a09e667f3bcdp-1},
    {0x1.b38880b4603e4p-1, 0x1.0d2ca0da1530dp-1},
    {0x1.cfb0ca7537295p-1, 0x1.6a09e667f3bcdp-1, 0x1.b2364c54dc129p-2},
    {0x1.ddd8c4a65725ap-1, 0x1.971965c22d357p-1, 0x1.3681a47220b62p-1, 0x1.6fbb14d961e24p-2},
    {0x1.e62212b926f3ap-1, 0x1.b105deb59cf61p-1, 0x1.6a09e667f3bcdp-1, 0x1.1131bfad98036p-1,
     0x1.415d08a633823p-2},
    {0x1.eb7ab53deb4c9p-1, 0x1.c194c8aea443ap-1, 0x1.8a4661d725cc5p-1, 0x1.46a2e53c23d0cp-1,
     0x1.e9fb90c657c93p-2, 0x1.1effadd92015ap-2},
    {0x1.ef2b7b9bc50a7p-1, 0x1.ccf002085cd9bp-1, 0x1.a01d0067a7bbep-1, 0x1.6a09e667f3bcdp-1,
     0x1.2a5173c03f4e9p-1, 0x1.bdc86a601df21p-2, 0x1.0463fdb3ca94bp-2},
    {0x1.f1d8debb5f8a2p-1, 0x1.d5239c85e9e21p-1, 0x1.afc22b011b7b8p-1, 0x1.8310c5ae42c49p-1,
     0x1.4f25ed826952bp-1, 0x1.133037511de06p-1, 0x1.9a225565b9df4p-2, 0x1.de3342abe60c2p-3},
    {0x1.f3dd58d65728ep-1, 0x1.db4c9eb2feadcp-1, 0x1.bb71874f0e195p-1, 0x1.95982054893c7p-1,
     0x1.6a09e667f3bcdp-1, 0x1.38783de0d6cbap-1, 0x1.ffdde238aecb6p-2, 0x1.7cb5288ce0ca1p-2,
     0x1.bb3fb2c961f59p-3},
}};

// D/√2, rounded once where D² is exact (whole millimetres, for one).
double middleWidth(double diameter) {
    const double square = diameter * diameter;
    return std::isfinite(square) ? std::sqrt(square / 2.0) : diameter / std::numbers::sqrt2;
}

// The continuous optimum's widths for D, widest first.
std::vector<double> optimumWidths(double diameter, int stages) {
    std::vector<double> widths;
    for (int k = 1; k <= stages; ++k) {
        widths.push_back(2 * k == stages + 1
                             ? middleWidth(diameter)
                             : diameter * kUnitWidths[stages][static_cast<std::size_t>(k - 1)]);
    }
    return widths;
}

// ---- Grid optimum -------------------------------------------------------

struct GridRange {
    long long first = 0;  // multiple of the widest width
    long long count = 0;  // grid widths in [minWidth, D)
};

// More grid widths below D than the search takes. The fault is the ratio of
// the two: a mistyped D (1000000 for 1000) holds as many widths as a grid
// of 0.005, so D is named first, with the grid beside it.
[[noreturn]] void refuseTooManyGridWidths(double diameter, double grid) {
    throw DesignError(DesignInput::Diameter, DesignInput::Grid,
                      "D " + writeDefault(diameter) + " holds more than " +
                          std::to_string(kMaxGridWidths) + " widths of the grid " +
                          writeDefault(grid) + " mm; make D smaller or the grid coarser");
}

// Called with D / grid at most kMaxWrittenMultiple.
GridRange gridRange(double diameter, double grid, double minWidth) {
    const double top = std::floor(diameter / grid);
    // Multiples near D/grid, then stepped until the text values decide.
    long long widest = static_cast<long long>(top) + 1;
    while (widest >= 1 && !(writtenMultiple(widest, grid) < diameter)) {
        --widest;
    }
    const double lowest = std::ceil(minWidth / grid);
    if (lowest > static_cast<double>(widest) + 1.0) {
        return {widest, 0};  // the minimum width is beyond every grid width below D
    }
    long long narrowest = std::max(1LL, static_cast<long long>(lowest) - 1);
    while (narrowest <= widest && writtenMultiple(narrowest, grid) < minWidth) {
        ++narrowest;
    }
    while (narrowest > 1 && writtenMultiple(narrowest - 1, grid) >= minWidth) {
        --narrowest;
    }
    GridRange range;
    range.first = widest;
    range.count = widest >= narrowest ? widest - narrowest + 1 : 0;
    return range;
}

// A best predecessor: the partial area through it and its index.
struct Choice {
    double value = -std::numeric_limits<double>::infinity();
    int from = -1;
};

// Widths are looked at in blocks: one bound per block tells whether any of
// its widths can beat the best found so far.
constexpr int kBlock = 32;

// Best partial areas of one stage count, per width, and per block the
// largest of them.
struct Layer {
    std::vector<double> value;
    std::vector<double> blockMax;

    explicit Layer(std::size_t count)
        : value(count, -std::numeric_limits<double>::infinity()),
          blockMax((count + kBlock - 1) / kBlock, -std::numeric_limits<double>::infinity()) {}

    void finish() {
        std::fill(blockMax.begin(), blockMax.end(), -std::numeric_limits<double>::infinity());
        for (std::size_t i = 0; i < value.size(); ++i) {
            blockMax[i / kBlock] = std::max(blockMax[i / kBlock], value[i]);
        }
    }
};

// The best predecessor p in [begin, end) for a stage of width w and
// thickness h: the largest partial + w × (h − thickness[p]), the first
// (widest) p on a tie. Rounding is monotone and thicknesses grow with p, so
// blockMax + w × (h − thickness[first p of the block]) is, after rounding,
// no smaller than any candidate of the block; blocks whose bound cannot
// reach the best so far are skipped, and the answer stays exact. The search
// starts at the block of a hint, where the best usually is.
Choice bestPredecessor(const Layer& before, const std::vector<double>& thickness, int begin,
                       int end, double w, double h, int hint) {
    Choice best;
    const auto scanBlock = [&](int block) {
        const int first = std::max(begin, block * kBlock);
        const int stop = std::min(end, (block + 1) * kBlock);
        if (first >= stop) {
            return;
        }
        const double bound =
            before.blockMax[static_cast<std::size_t>(block)] + w * (h - thickness[first]);
        if (bound < best.value || (bound == best.value && first > best.from)) {
            return;
        }
        for (int p = first; p < stop; ++p) {
            const double candidate = before.value[p] + w * (h - thickness[p]);
            if (candidate > best.value || (candidate == best.value && p < best.from)) {
                best = {candidate, p};
            }
        }
    };
    const int hintBlock = std::clamp(hint, begin, end - 1) / kBlock;
    scanBlock(hintBlock);
    for (int block = hintBlock - 1; block >= begin / kBlock; --block) {
        scanBlock(block);
    }
    for (int block = hintBlock + 1; block <= (end - 1) / kBlock; ++block) {
        scanBlock(block);
    }
    return best;
}

// The best chain of exactly `stages` widths, taken from the widths sorted
// widest first. A layer's value[i] is the largest area of stages 1..j with
// stage j at width i, summed stage by stage exactly as idealGrossArea sums;
// a larger partial sum never gives a smaller total after rounding, so
// keeping the best per width is exact.
std::vector<double> bestChain(double diameter, const std::vector<double>& width, int stages) {
    const auto count = static_cast<int>(width.size());
    std::vector<double> thickness(width.size());
    for (int i = 0; i < count; ++i) {
        thickness[i] = thicknessAt(diameter, width[i]);
    }
    Layer previous(width.size());
    for (int i = 0; i < count; ++i) {
        previous.value[i] = width[i] * (thickness[i] - 0.0);
    }
    previous.finish();
    std::vector<int> from(static_cast<std::size_t>(stages) * width.size(), -1);
    for (int j = 2; j <= stages; ++j) {
        // Stage j sits at index j−1 or later and leaves room for the stages
        // after it.
        const int last = count - (stages - j);
        int* const choice = &from[static_cast<std::size_t>(j - 1) * width.size()];
        Layer current(width.size());
        int hint = j - 2;
        for (int i = j - 1; i < last; ++i) {
            const Choice best =
                bestPredecessor(previous, thickness, j - 2, i, width[i], thickness[i], hint);
            current.value[i] = best.value;
            choice[i] = best.from;
            hint = best.from;
        }
        current.finish();
        previous = std::move(current);
    }
    int end = stages - 1;
    for (int i = stages; i < count; ++i) {
        if (previous.value[i] > previous.value[end]) {
            end = i;
        }
    }
    std::vector<double> chain(static_cast<std::size_t>(stages));
    for (int j = stages; j >= 1; --j) {
        chain[static_cast<std::size_t>(j - 1)] = width[static_cast<std::size_t>(end)];
        if (j > 1) {
            end = from[static_cast<std::size_t>(j - 1) * width.size() +
                       static_cast<std::size_t>(end)];
        }
    }
    return chain;
}

// The best grid design, or no widths at all when the grid holds none. Too
// many grid widths are D's fault too when D is given, the grid's alone when
// the search chose D.
StepWidths gridDesign(double diameter, int stages, double grid, double minWidth,
                      bool diameterGiven = true) {
    const auto tooMany = [&] {
        if (diameterGiven) {
            refuseTooManyGridWidths(diameter, grid);
        }
        refuseTooFineGrid("a core of this area");
    };
    if (diameter / grid > static_cast<double>(kMaxWrittenMultiple)) {
        tooMany();
    }
    const GridRange range = gridRange(diameter, grid, minWidth);
    if (range.count > kMaxGridWidths) {
        tooMany();
    }
    StepWidths design;
    design.diameter = diameter;
    if (range.count == 0) {
        return design;
    }
    std::vector<double> widths(static_cast<std::size_t>(range.count));
    for (long long i = 0; i < range.count; ++i) {
        widths[static_cast<std::size_t>(i)] = writtenMultiple(range.first - i, grid);
    }
    const int used = static_cast<int>(std::min<long long>(stages, range.count));
    design.widths = bestChain(diameter, widths, used);
    design.grossArea = idealGrossArea(diameter, design.widths);
    return design;
}

void checkQuestion(const DiameterQuestion& question) {
    checkInput(DesignInput::NetArea, question.netArea);
    checkInput(DesignInput::StackingFactor, question.stackingFactor);
    checkInput(DesignInput::Stages, question.stages);
    checkPositive(DesignInput::Grid, question.grid);
    checkInput(DesignInput::MinWidth, question.minWidth);
    checkInput(DesignInput::DiameterStep, question.diameterStep);
    checkInput(DesignInput::StackRound, question.stackRound);
}

// No set of widths beats the continuous optimum, so no diameter below its
// bound can reach the area: the search starts at the multiple of the step
// below that bound (a hair of slack keeps rounding from skipping one).
long long lowestMultiple(const DiameterQuestion& question) {
    const double bestShare = utilisation(1.0, bestWidths(1.0, question.stages).grossArea);
    const double bound = std::sqrt(400.0 * question.netArea /
                                   (std::numbers::pi * bestShare * question.stackingFactor));
    const double tooFine = static_cast<double>(kMaxGridWidths) * question.grid + question.minWidth;
    if (!std::isfinite(bound) || bound > tooFine) {
        refuseTooFineGrid("a core of this area");
    }
    if (bound / question.diameterStep > static_cast<double>(kMaxWrittenMultiple)) {
        refuse(DesignInput::DiameterStep, "the diameter step is too fine for a core of this area");
    }
    return std::max(
        0LL, static_cast<long long>(std::floor(bound * (1.0 - 1e-9) / question.diameterStep)));
}

// A design at a multiple of the diameter step.
struct Found {
    long long multiple = 0;
    StepWidths design;
};

// The best grid design at each multiple of the diameter step. The best area
// grows with D, so the smallest multiple that reaches the area is found by
// bracketing it and halving the bracket.
class DiameterSearch {
public:
    explicit DiameterSearch(const DiameterQuestion& question) : question_(question) {}

    Found smallest(long long low) const {
        // No grid design beats the continuous optimum of its D, which is
        // closed-form, so the grid design at `low` is only needed when that
        // optimum (with a margin far above rounding) reaches the area.
        if (low > 0 && optimumMayReach(low) && reaches(at(low))) {
            low = 0;  // the bound was not below the answer after all; bisect from 0
        }
        // `low` falls short (or is 0, no core), `high` reaches.
        long long high = low + 1;
        StepWidths atHigh = at(high);
        for (long long gap = 1; !reaches(atHigh); gap *= 2) {
            if (gap > kMaxWrittenMultiple) {
                refuse(DesignInput::Grid, "no diameter reaches the net area on this grid");
            }
            low = high;
            high = low + gap;
            atHigh = at(high);
        }
        while (high - low > 1) {
            const long long middle = low + (high - low) / 2;
            StepWidths atMiddle = at(middle);
            if (reaches(atMiddle)) {
                high = middle;
                atHigh = std::move(atMiddle);
            } else {
                low = middle;
            }
        }
        return {high, std::move(atHigh)};
    }

    // The smallest multiple from the ideal answer up whose stacks, floored
    // to R, reach the area. Flooring takes less than R from each cumulative
    // height, so less than R·w_1 < R·D from the section: past the diameter
    // whose ideal area reaches A plus that much, every core reaches as cut,
    // and one that does not has a step without a stack.
    StepWidths asCut(Found found) const {
        const double factor = question_.stackingFactor;
        for (long long scanned = 0;; ++scanned) {
            const StepWidths& design = found.design;
            const workshop::Section section = {design.diameter, design.widths};
            const workshop::RoundedStacks rounded =
                workshop::roundedStacks(section, question_.stackRound);
            if (!rounded.emptyStep &&
                workshop::netArea(section, rounded.stacks, factor) / 100 >= question_.netArea) {
                return design;
            }
            const double sureLoss = factor * question_.stackRound * design.diameter / 100;
            if (rounded.emptyStep &&
                netAreaCm2(design.grossArea, factor) - sureLoss >= question_.netArea) {
                refuse(DesignInput::StackRound,
                       "the stack rounding is too coarse for this core: no diameter up to " +
                           writeDefault(design.diameter) +
                           " mm reaches the net area as cut, and at that one step " +
                           std::to_string(*rounded.emptyStep + 1) + "'s stack rounds to 0");
            }
            if (scanned >= kMaxGridWidths) {
                refuse(DesignInput::DiameterStep,
                       "the diameter step is too fine to search for the net area as cut (more "
                       "than " +
                           std::to_string(kMaxGridWidths) + " diameters)");
            }
            ++found.multiple;
            found.design = at(found.multiple);
        }
    }

private:
    StepWidths at(long long multiple) const {
        const double diameter = writtenMultiple(multiple, question_.diameterStep);
        if (diameter > kMaxDiameter) {
            refuse(DesignInput::NetArea, "no core diameter up to " + writeDefault(kMaxDiameter) +
                                             " reaches the net area");
        }
        return gridDesign(diameter, question_.stages, question_.grid, question_.minWidth, false);
    }
    bool optimumMayReach(long long multiple) const {
        const double diameter = writtenMultiple(multiple, question_.diameterStep);
        const double optimum = idealGrossArea(diameter, optimumWidths(diameter, question_.stages));
        return netAreaCm2(optimum, question_.stackingFactor) * (1.0 + 1e-12) >= question_.netArea;
    }
    bool reaches(const StepWidths& design) const {
        return !design.widths.empty() &&
               netAreaCm2(design.grossArea, question_.stackingFactor) >= question_.netArea;
    }

    const DiameterQuestion& question_;
};

}  // namespace

double idealGrossArea(double diameter, std::span<const double> widths) {
    double area = 0.0;
    double before = 0.0;
    for (const double width : widths) {
        if (!(std::abs(width) < diameter)) {
            refuse(DesignInput::Diameter, "every width must be below the diameter");
        }
        const double thickness = thicknessAt(diameter, width);
        area = area + width * (thickness - before);
        before = thickness;
    }
    return area;
}

double utilisation(double diameter, double area) {
    return area / (std::numbers::pi * diameter * diameter / 4.0);
}

double netAreaCm2(double grossArea, double stackingFactor) {
    return grossArea / 100.0 * stackingFactor;
}

StepWidths bestWidths(double diameter, int stages, double minWidth) {
    checkInput(DesignInput::Diameter, diameter);
    checkInput(DesignInput::Stages, stages);
    checkMinWidthBelow(minWidth, diameter);
    StepWidths design;
    design.diameter = diameter;
    design.widths = optimumWidths(diameter, stages);
    if (design.widths.back() < minWidth) {
        refuse(DesignInput::MinWidth, "the best widths go down to " +
                                          writeDefault(design.widths.back()) +
                                          ", below the minimum width; only grid widths can "
                                          "keep to a minimum");
    }
    design.grossArea = idealGrossArea(diameter, design.widths);
    return design;
}

StepWidths bestGridWidths(double diameter, int stages, double grid, double minWidth) {
    checkInput(DesignInput::Diameter, diameter);
    checkInput(DesignInput::Stages, stages);
    checkPositive(DesignInput::Grid, grid);
    checkMinWidthBelow(minWidth, diameter);
    StepWidths design = gridDesign(diameter, stages, grid, minWidth);
    if (design.widths.empty()) {
        refuse(DesignInput::Grid,
               "no multiple of the grid lies between the minimum width and "
               "the diameter; the grid is too coarse for even one stage");
    }
    return design;
}

StepWidths smallestDiameter(const DiameterQuestion& question) {
    checkQuestion(question);
    const DiameterSearch search(question);
    Found ideal = search.smallest(lowestMultiple(question));
    if (question.stackRound == 0) {
        return std::move(ideal.design);
    }
    return search.asCut(std::move(ideal));
}

}  // namespace kalvitra::design
