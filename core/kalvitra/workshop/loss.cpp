#include "kalvitra/workshop/loss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::workshop {
namespace {

[[noreturn]] void refuse(DesignInput input, const std::string& message) {
    throw DesignError(input, message);
}

// Typical figures at 1.5, 1.6 and 1.7 T, 50 Hz, W/kg.
//
// What a name guarantees. A Chinese grade (GB/T 2521.2) is named by its
// thickness in 0.01 mm, its family and 100 times its maximum specific loss at
// 1.7 T, 50 Hz: 30Q120 is 0.30 mm, conventional (Q; QG is high permeability),
// at most 1.20 W/kg. Baosteel's laser-scribed family R (B23R080) and Nippon
// Steel's high-permeability family ZH (27ZH100) are named by the same rule.
// Two kinds of name state no figure at 1.7 T: 23ZDMH (Nippon Steel's
// domain-refined family, no loss in the name at all), and the AISI M grades
// (M3-0.23, M4-0.27), whose number is a class guaranteed at 1.5 T: M-3
// 0.23 mm at most 0.79 W/kg at 1.5 T (1.04 at 1.7 T), M-4 0.27 mm 0.89
// (1.27), as public CRGO grade tables list them (nomax.co.in, "Core loss
// details of popularly used CRGO steel", which also gives 23ZH90 0.90,
// 27ZH95 0.95 and 27ZH100 1.00 W/kg at most at 1.7 T).
//
// Where each curve comes from:
//   23ZDMH, 23R080, 27ZH100, M3-0.23, M4-0.27: the typical points the
//     workshop has always carried, from public grade tables; each lies below
//     its grade's maximum.
//   30Q120: the same, but its 1.7 T point was 1.25, above the 1.20 that the
//     name guarantees; it is the maximum itself now, an upper bound.
//   27Q110, 30Q130: no public table of typical points was found; 30Q120's
//     points scaled by the ratio of the named maxima (110/120, 130/120),
//     rounded half up to two decimals, so the 1.7 T point is the maximum.
//   27ZH95, 23ZH90: likewise 27ZH100's points scaled by 95/100 and 90/100.
// None of them goes beyond 1.7 T, and none gives the apparent power (VA/kg):
// no public table of typical points above 1.7 T or of the magnetising VA/kg
// of these grades was found, and a figure made up here would pass for a
// measured one. A curve file with a third column gives it.
const std::vector<LossCurve>& gradeTable() {
    static const std::vector<LossCurve> grades = {
        {"23ZDMH", {{1.5, 0.56}, {1.6, 0.65}, {1.7, 0.77}}, true},
        {"23R080", {{1.5, 0.573}, {1.6, 0.665}, {1.7, 0.783}}, true},
        {"23ZH90", {{1.5, 0.63}, {1.6, 0.73}, {1.7, 0.86}}, true},
        {"27ZH95", {{1.5, 0.67}, {1.6, 0.77}, {1.7, 0.91}}, true},
        {"27ZH100", {{1.5, 0.70}, {1.6, 0.81}, {1.7, 0.96}}, true},
        {"27Q110", {{1.5, 0.80}, {1.6, 0.95}, {1.7, 1.10}}, true},
        {"30Q120", {{1.5, 0.87}, {1.6, 1.04}, {1.7, 1.20}}, true},
        {"30Q130", {{1.5, 0.94}, {1.6, 1.13}, {1.7, 1.30}}, true},
        {"M3-0.23", {{1.5, 0.67}, {1.6, 0.80}, {1.7, 1.01}}, true},
        {"M4-0.27", {{1.5, 0.83}, {1.6, 1.01}, {1.7, 1.25}}, true},
    };
    return grades;
}

std::optional<double> numberIn(std::string_view text) {
    const PlainReading reading = readPlainNumber(text);
    return reading.problem == PlainNumberProblem::None ? std::optional(reading.value)
                                                       : std::nullopt;
}

// The comma-separated fields of a line as plain numbers, or nullopt when one
// is not a plain number.
std::optional<std::vector<double>> numbersOf(std::string_view line) {
    std::vector<double> numbers;
    while (true) {
        const std::size_t comma = line.find(',');
        const std::optional<double> number = numberIn(line.substr(0, comma));
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        if (comma == std::string_view::npos) {
            return numbers;
        }
        line.remove_prefix(comma + 1);
    }
}

// How a curve file of so many columns is worded in its refusals.
struct ColumnLayout {
    std::size_t size;
    std::string_view count;      // "two"
    std::string_view columns;    // "B,W/kg"
    std::string_view negatives;  // "flux density and loss"
};

// The text's lines as points, each one row of numbers, the first point's
// layout for them all: the first layout of that size, or the first of all.
class CurveRows {
public:
    CurveRows(DesignInput input, std::span<const ColumnLayout> layouts)
        : input_(input), layouts_(layouts), layout_(&layouts.front()) {}

    void addLine(std::string_view line, std::size_t lineNumber) {
        const std::optional<std::vector<double>> numbers = numbersOf(line);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (rows_.empty() && numbers) {
            const auto same = std::ranges::find(layouts_, numbers->size(), &ColumnLayout::size);
            layout_ = same == layouts_.end() ? &layouts_.front() : &*same;
        }
        if (!numbers || numbers->size() != layout_->size) {
            // A header such as "B,W/kg"; a first line that starts with a
            // number is a point, and a malformed one is refused, not skipped.
            if (lineNumber == 1 && !numberIn(line.substr(0, line.find(',')))) {
                return;
            }
            refuse(input_, where + "expected " + std::string(layout_->count) + " numbers " +
                               std::string(layout_->columns));
        }
        if (!rows_.empty() && !(numbers->front() > rows_.back().front())) {
            refuse(input_, where + "the flux density must increase from line to line");
        }
        if (!std::ranges::all_of(*numbers, [](double value) { return value >= 0; })) {
            refuse(input_, where + std::string(layout_->negatives) + " must not be negative");
        }
        rows_.push_back(*numbers);
    }

    std::vector<std::vector<double>> rows() && {
        if (rows_.size() < 2) {
            refuse(input_, "a curve needs at least two points");
        }
        return std::move(rows_);
    }

private:
    DesignInput input_;
    std::span<const ColumnLayout> layouts_;
    const ColumnLayout* layout_;
    std::vector<std::vector<double>> rows_;
};

// The points of a curve file, one row of numbers each, as CurveRows reads
// its lines.
std::vector<std::vector<double>> readCurveRows(std::string_view text, DesignInput input,
                                               std::span<const ColumnLayout> layouts) {
    CurveRows rows(input, layouts);
    // A byte order mark from a spreadsheet would make the first point look
    // like a header and lose it.
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            rows.addLine(line, lineNumber);
        }
    }
    return std::move(rows).rows();
}

constexpr ColumnLayout kLossLayouts[] = {
    {2, "two", "B,W/kg", "flux density and loss"},
    {3, "three", "B,W/kg,VA/kg", "flux density, loss and apparent power"},
};

}  // namespace

std::span<const LossCurve> builtInGrades() {
    return gradeTable();
}

const LossCurve* findGrade(std::string_view name) {
    for (const LossCurve& grade : gradeTable()) {
        if (grade.name == name) {
            return &grade;
        }
    }
    return nullptr;
}

const LossCurve& builtInGrade(std::string_view name) {
    if (const LossCurve* grade = findGrade(name)) {
        return *grade;
    }
    std::string known;
    for (const LossCurve& grade : gradeTable()) {
        known += (known.empty() ? "" : ", ") + grade.name;
    }
    refuse(DesignInput::Grade, "no built-in grade of this name; the built-in grades are " + known);
}

LossCurve readLossCurve(std::string_view text, std::string name) {
    LossCurve curve{std::move(name), {}};
    for (const std::vector<double>& row : readCurveRows(text, DesignInput::Curve, kLossLayouts)) {
        curve.points.push_back(
            {row[0], row[1], row.size() > 2 ? std::optional(row[2]) : std::nullopt});
    }
    return curve;
}

std::vector<CurveColumn> readCurveColumn(std::string_view text, DesignInput input,
                                         std::string_view unit, std::string_view quantity) {
    const std::string columns = "B," + std::string(unit);
    const std::string negatives = "flux density and " + std::string(quantity);
    const ColumnLayout layout[] = {{2, "two", columns, negatives}};
    std::vector<CurveColumn> points;
    for (const std::vector<double>& row : readCurveRows(text, input, layout)) {
        points.push_back({row[0], row[1]});
    }
    return points;
}

void refuseOutsideCurve(double fluxDensity, std::string_view curve, double lowest, double highest) {
    refuse(DesignInput::FluxDensity, "the flux density " + writeDefault(fluxDensity) +
                                         " T lies outside " + std::string(curve) + " (" +
                                         writeDefault(lowest) + " to " + writeDefault(highest) +
                                         " T); a curve is never extrapolated");
}

double specificLoss(const LossCurve& curve, double fluxDensity) {
    return interpolateCurve(std::span(curve.points), fluxDensity, "the curve " + curve.name,
                            [](const LossPoint& point) { return point.specificLoss; });
}

double specificApparentPower(const LossCurve& curve, double fluxDensity) {
    if (curve.points.empty() || !curve.points.front().specificApparentPower) {
        if (curve.builtIn) {
            refuse(DesignInput::Grade, "no VA/kg for this grade: give a curve with a third column");
        }
        refuse(DesignInput::Curve, "no VA/kg in this curve: give a curve with a third column");
    }
    return interpolateCurve(std::span(curve.points), fluxDensity, "the curve " + curve.name,
                            [](const LossPoint& point) { return *point.specificApparentPower; });
}

double fluxDensityOf(double voltsPerTurn, double frequency, double netAreaMm2) {
    checkInput(DesignInput::VoltsPerTurn, voltsPerTurn);
    checkInput(DesignInput::Frequency, frequency);
    const double b =
        voltsPerTurn / (std::numbers::sqrt2 * std::numbers::pi * frequency * (netAreaMm2 / 1e6));
    if (!std::isfinite(b)) {
        refuse(DesignInput::VoltsPerTurn,
               "the voltage per turn gives a flux density beyond the range of numbers");
    }
    return b;
}

NoLoadLoss noLoadLoss(const LossCurve& curve, double fluxDensity, double mass,
                      double buildingFactor) {
    checkInput(DesignInput::FluxDensity, fluxDensity);
    checkInput(DesignInput::Mass, mass);
    checkInput(DesignInput::BuildingFactor, buildingFactor);
    NoLoadLoss result;
    result.fluxDensity = fluxDensity;
    result.specificLoss = specificLoss(curve, fluxDensity);
    result.mass = mass;
    result.buildingFactor = buildingFactor;
    result.loss = buildingFactor * result.specificLoss * mass;
    if (!std::isfinite(result.loss)) {
        refuse(DesignInput::Mass, "the loss of this mass is beyond the range of numbers");
    }
    return result;
}

NoLoadLoss frameLoss(const LossCurve& curve, const FluxGiven& flux, double netAreaMm2, double mass,
                     double buildingFactor) {
    if (flux.source == FluxSource::FluxDensity) {
        return noLoadLoss(curve, flux.value, mass, buildingFactor);
    }
    const double fluxDensity = fluxDensityOf(flux.value, flux.frequency, netAreaMm2);
    return asTheFluxWasGiven(flux,
                             [&] { return noLoadLoss(curve, fluxDensity, mass, buildingFactor); });
}

}  // namespace kalvitra::workshop
