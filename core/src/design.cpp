#include "kalvitra/design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "kalvitra/numbers.h"

namespace kalvitra::design {
namespace {

[[noreturn]] void refuse(DesignInput input, const std::string& message) {
    throw DesignError(input, message);
}

void checkDiameter(double diameter) {
    if (!std::isfinite(diameter) || diameter <= 0.0) {
        refuse(DesignInput::Diameter, "the diameter must be a number greater than 0");
    }
    if (diameter < kMinDiameter || diameter > kMaxDiameter) {
        refuse(DesignInput::Diameter, "the diameter must lie between " +
                                          writeDefault(kMinDiameter) + " and " +
                                          writeDefault(kMaxDiameter));
    }
}

void checkStages(int stages) {
    if (stages < 1 || stages > kMaxStages) {
        refuse(DesignInput::Stages, "the number of stages must be a whole number from 1 to 9");
    }
}

void checkGrid(double grid) {
    if (!std::isfinite(grid) || grid <= 0.0) {
        refuse(DesignInput::Grid, "the grid must be a number greater than 0");
    }
}

void checkMinWidth(double minWidth) {
    if (!std::isfinite(minWidth) || minWidth < 0.0) {
        refuse(DesignInput::MinWidth, "the minimum width must be a number of 0 or more");
    }
}

void checkMinWidthBelow(double minWidth, double diameter) {
    checkMinWidth(minWidth);
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
// with sin θ_0 = 0 and cos θ_(n+1) = 0. Each g_k involves only its
// neighbours, so the Hessian is tridiagonal and Newton's method costs O(n)
// a step.

using Angles = std::array<double, kMaxStages + 2>;  // θ_0 .. θ_(n+1)

double unitArea(const Angles& theta, int n) {
    double area = 0.0;
    for (int k = 1; k <= n; ++k) {
        area += std::cos(theta[k]) * (std::sin(theta[k]) - std::sin(theta[k - 1]));
    }
    return area;
}

bool increasing(const Angles& theta, int n) {
    for (int k = 1; k <= n + 1; ++k) {
        if (!(theta[k - 1] < theta[k])) {
            return false;
        }
    }
    return true;
}

// One Newton step for the stationary point: the change of every angle.
std::array<double, kMaxStages + 2> newtonStep(const Angles& theta, int n) {
    std::array<double, kMaxStages + 2> gradient{};
    std::array<double, kMaxStages + 2> diagonal{};
    std::array<double, kMaxStages + 2> upper{};  // H(k, k+1) = H(k+1, k)
    for (int k = 1; k <= n; ++k) {
        const double sinBefore = k == 1 ? 0.0 : std::sin(theta[k - 1]);
        const double cosAfter = k == n ? 0.0 : std::cos(theta[k + 1]);
        const double s = std::sin(theta[k]);
        const double c = std::cos(theta[k]);
        gradient[k] = std::cos(2.0 * theta[k]) + sinBefore * s - c * cosAfter;
        diagonal[k] = -2.0 * std::sin(2.0 * theta[k]) + sinBefore * c + cosAfter * s;
        upper[k] = k == n ? 0.0 : c * std::sin(theta[k + 1]);
    }
    // Solve H δ = −g by the tridiagonal elimination.
    std::array<double, kMaxStages + 2> step{};
    std::array<double, kMaxStages + 2> rhs{};
    std::array<double, kMaxStages + 2> pivot{};
    pivot[1] = diagonal[1];
    rhs[1] = -gradient[1];
    for (int k = 2; k <= n; ++k) {
        const double factor = upper[k - 1] / pivot[k - 1];
        pivot[k] = diagonal[k] - factor * upper[k - 1];
        rhs[k] = -gradient[k] - factor * rhs[k - 1];
    }
    step[n] = rhs[n] / pivot[n];
    for (int k = n - 1; k >= 1; --k) {
        step[k] = (rhs[k] - upper[k] * step[k + 1]) / pivot[k];
    }
    return step;
}

// The optimal angles for n stages. Newton from evenly spaced angles; a step
// that would disorder the angles or lose area is halved, so the iteration
// cannot run away, and it stops once a step no longer changes any angle.
Angles optimalAngles(int n) {
    const double quarter = std::numbers::pi / 2.0;
    Angles theta{};
    for (int k = 0; k <= n + 1; ++k) {
        theta[k] = quarter * k / (n + 1);
    }
    for (int iteration = 0; iteration < 100; ++iteration) {
        const auto step = newtonStep(theta, n);
        double scale = 1.0;
        Angles next = theta;
        for (int halving = 0; halving < 60; ++halving) {
            for (int k = 1; k <= n; ++k) {
                next[k] = theta[k] + scale * step[k];
            }
            // Near the optimum the area is flat to rounding, so a step of
            // rounding size is taken as it comes.
            if (increasing(next, n) &&
                (unitArea(next, n) >= unitArea(theta, n) - 4e-16 || scale < 1e-3)) {
                break;
            }
            scale /= 2.0;
        }
        if (!increasing(next, n)) {
            break;
        }
        const bool moved = next != theta;
        theta = next;
        if (!moved) {
            break;
        }
        double largest = 0.0;
        for (int k = 1; k <= n; ++k) {
            largest = std::max(largest, std::abs(step[k]));
        }
        if (largest < 1e-17) {
            break;
        }
    }
    // The best section is symmetric about the diagonal (w and h swap roles),
    // so the angles pair up as θ_k + θ_(n+1−k) = π/2. Averaging each pair
    // removes the last rounding asymmetry.
    Angles symmetric = theta;
    for (int k = 1; k <= n; ++k) {
        symmetric[k] = (theta[k] + (quarter - theta[n + 1 - k])) / 2.0;
    }
    return symmetric;
}

// Unit-diameter angles for n = 1..9, solved once.
const Angles& unitAngles(int n) {
    static const std::array<Angles, kMaxStages + 1> table = [] {
        std::array<Angles, kMaxStages + 1> all{};
        for (int stages = 1; stages <= kMaxStages; ++stages) {
            all[stages] = optimalAngles(stages);
        }
        return all;
    }();
    return table[n];
}

// D/√2, rounded once where D² is exact (whole millimetres, for one).
double middleWidth(double diameter) {
    const double square = diameter * diameter;
    return std::isfinite(square) ? std::sqrt(square / 2.0) : diameter / std::numbers::sqrt2;
}

// ---- Grid optimum -------------------------------------------------------

// The number the default text of m × grid stands for: 3 × 0.1 gives
// 0.30000000000000004, whose text "0.3" reads back as 0.3.
double gridWidth(long long multiple, double grid) {
    return readLenient(writeDefault(static_cast<double>(multiple) * grid));
}

// Beyond this multiple, neighbouring grid widths could share one 15-digit
// text and the written sheet could no longer tell them apart.
constexpr long long kMaxMultiple = 100'000'000'000'000LL;

struct GridRange {
    long long first = 0;  // multiple of the widest width
    long long count = 0;  // grid widths in [minWidth, D)
};

GridRange gridRange(double diameter, double grid, double minWidth) {
    const double top = std::floor(diameter / grid);
    if (top > static_cast<double>(kMaxMultiple)) {
        refuse(DesignInput::Grid, "the grid is too fine for the diameter (more than " +
                                      std::to_string(kMaxGridWidths) + " widths)");
    }
    // Multiples near D/grid, then stepped until the text values decide.
    long long widest = static_cast<long long>(top) + 1;
    while (widest >= 1 && !(gridWidth(widest, grid) < diameter)) {
        --widest;
    }
    const double lowest = std::ceil(minWidth / grid);
    if (lowest > static_cast<double>(widest) + 1.0) {
        return {widest, 0};  // the minimum width is beyond every grid width below D
    }
    long long narrowest = std::max(1LL, static_cast<long long>(lowest) - 1);
    while (narrowest <= widest && gridWidth(narrowest, grid) < minWidth) {
        ++narrowest;
    }
    while (narrowest > 1 && gridWidth(narrowest - 1, grid) >= minWidth) {
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

// The best grid design, or no widths at all when the grid holds none.
Design gridDesign(double diameter, int stages, double grid, double minWidth) {
    const GridRange range = gridRange(diameter, grid, minWidth);
    if (range.count > kMaxGridWidths) {
        refuse(DesignInput::Grid, "the grid is too fine for the diameter (more than " +
                                      std::to_string(kMaxGridWidths) + " widths)");
    }
    Design design;
    design.diameter = diameter;
    if (range.count == 0) {
        return design;
    }
    std::vector<double> widths(static_cast<std::size_t>(range.count));
    for (long long i = 0; i < range.count; ++i) {
        widths[static_cast<std::size_t>(i)] = gridWidth(range.first - i, grid);
    }
    const int used = static_cast<int>(std::min<long long>(stages, range.count));
    design.widths = bestChain(diameter, widths, used);
    design.grossArea = idealGrossArea(diameter, design.widths);
    return design;
}

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

Design bestWidths(double diameter, int stages, double minWidth) {
    checkDiameter(diameter);
    checkStages(stages);
    checkMinWidthBelow(minWidth, diameter);
    const Angles& theta = unitAngles(stages);
    Design design;
    design.diameter = diameter;
    for (int k = 1; k <= stages; ++k) {
        design.widths.push_back(2 * k == stages + 1 ? middleWidth(diameter)
                                                    : diameter * std::cos(theta[k]));
    }
    if (design.widths.back() < minWidth) {
        refuse(DesignInput::MinWidth, "the best widths go down to " +
                                          writeDefault(design.widths.back()) +
                                          ", below the minimum width; only grid widths can "
                                          "keep to a minimum");
    }
    design.grossArea = idealGrossArea(diameter, design.widths);
    return design;
}

Design bestGridWidths(double diameter, int stages, double grid, double minWidth) {
    checkDiameter(diameter);
    checkStages(stages);
    checkGrid(grid);
    checkMinWidthBelow(minWidth, diameter);
    Design design = gridDesign(diameter, stages, grid, minWidth);
    if (design.widths.empty()) {
        refuse(DesignInput::Grid,
               "no multiple of the grid lies between the minimum width and "
               "the diameter; the grid is too coarse for even one stage");
    }
    return design;
}

Design smallestDiameter(const DiameterQuestion& question) {
    if (!std::isfinite(question.netArea) || question.netArea <= 0.0) {
        refuse(DesignInput::NetArea, "the net area must be a number greater than 0");
    }
    if (!std::isfinite(question.stackingFactor) || question.stackingFactor <= 0.0 ||
        question.stackingFactor > 1.0) {
        refuse(DesignInput::StackingFactor,
               "the stacking factor must be a number greater than 0 and at most 1");
    }
    checkStages(question.stages);
    checkGrid(question.grid);
    checkMinWidth(question.minWidth);
    if (!std::isfinite(question.diameterStep) || question.diameterStep <= 0.0) {
        refuse(DesignInput::DiameterStep, "the diameter step must be a number greater than 0");
    }
    const double step = question.diameterStep;

    // No set of widths beats the continuous optimum, so no diameter below
    // its bound can do; a hair of slack keeps rounding from skipping one.
    const double bestShare = utilisation(1.0, bestWidths(1.0, question.stages).grossArea);
    const double bound = std::sqrt(400.0 * question.netArea /
                                   (std::numbers::pi * bestShare * question.stackingFactor));
    const double tooFine = static_cast<double>(kMaxGridWidths) * question.grid + question.minWidth;
    if (!std::isfinite(bound) || bound > tooFine) {
        refuse(DesignInput::Grid, "the grid is too fine for a core of this area (more than " +
                                      std::to_string(kMaxGridWidths) + " widths)");
    }
    if (bound / step > static_cast<double>(kMaxMultiple)) {
        refuse(DesignInput::DiameterStep, "the diameter step is too fine for a core of this area");
    }

    const auto diameterOf = [&](long long multiple) {
        const double diameter = gridWidth(multiple, step);
        if (diameter > kMaxDiameter) {
            refuse(DesignInput::NetArea, "no core diameter up to " + writeDefault(kMaxDiameter) +
                                             " reaches the net area");
        }
        return diameter;
    };
    const auto designAt = [&](long long multiple) {
        return gridDesign(diameterOf(multiple), question.stages, question.grid, question.minWidth);
    };
    const auto reaches = [&](const Design& design) {
        return !design.widths.empty() &&
               netAreaCm2(design.grossArea, question.stackingFactor) >= question.netArea;
    };

    // Bracket: `low` falls short (or is 0, no core), `high` reaches.
    long long low = std::max(0LL, static_cast<long long>(std::floor(bound * (1.0 - 1e-9) / step)));
    if (low > 0 && reaches(designAt(low))) {
        low = 0;  // the bound was not below the answer after all; bisect from 0
    }
    long long high = low + 1;
    Design atHigh = designAt(high);
    for (long long gap = 1; !reaches(atHigh); gap *= 2) {
        if (gap > kMaxMultiple) {
            refuse(DesignInput::Grid, "no diameter reaches the net area on this grid");
        }
        low = high;
        high = low + gap;
        atHigh = designAt(high);
    }
    while (high - low > 1) {
        const long long middle = low + (high - low) / 2;
        Design atMiddle = designAt(middle);
        if (reaches(atMiddle)) {
            high = middle;
            atHigh = std::move(atMiddle);
        } else {
            low = middle;
        }
    }
    return atHigh;
}

}  // namespace kalvitra::design
