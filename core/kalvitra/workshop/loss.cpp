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

// Typical figures at 1.5, 1.6 and 1.7 T, 50 Hz.
const std::vector<LossCurve>& gradeTable() {
    static const std::vector<LossCurve> grades = {
        {"23ZDMH", {{1.5, 0.56}, {1.6, 0.65}, {1.7, 0.77}}},
        {"23R080", {{1.5, 0.573}, {1.6, 0.665}, {1.7, 0.783}}},
        {"27ZH100", {{1.5, 0.70}, {1.6, 0.81}, {1.7, 0.96}}},
        {"30Q120", {{1.5, 0.87}, {1.6, 1.04}, {1.7, 1.25}}},
        {"M3-0.23", {{1.5, 0.67}, {1.6, 0.80}, {1.7, 1.01}}},
        {"M4-0.27", {{1.5, 0.83}, {1.6, 1.01}, {1.7, 1.25}}},
    };
    return grades;
}

std::optional<double> numberIn(std::string_view text) {
    const PlainReading reading = readPlainNumber(text);
    return reading.problem == PlainNumberProblem::None ? std::optional(reading.value)
                                                       : std::nullopt;
}

// One "B,W/kg" line of a curve file, or nullopt when it is not two plain
// numbers.
std::optional<LossPoint> curvePoint(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<double> b = numberIn(line.substr(0, comma));
    const std::optional<double> loss = numberIn(line.substr(comma + 1));
    if (!b || !loss) {
        return std::nullopt;
    }
    return LossPoint{*b, *loss};
}

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
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            continue;
        }
        const std::optional<LossPoint> point = curvePoint(line);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!point) {
            // A header such as "B,W/kg"; a first line that starts with a
            // number is a point, and a malformed one is refused, not skipped.
            if (lineNumber == 1 && !numberIn(line.substr(0, line.find(',')))) {
                continue;
            }
            refuse(DesignInput::Curve, where + "expected two numbers B,W/kg");
        }
        if (!curve.points.empty() && !(point->fluxDensity > curve.points.back().fluxDensity)) {
            refuse(DesignInput::Curve, where + "the flux density must increase from line to line");
        }
        if (!(point->specificLoss >= 0) || !(point->fluxDensity >= 0)) {
            refuse(DesignInput::Curve, where + "flux density and loss must not be negative");
        }
        curve.points.push_back(*point);
    }
    if (curve.points.size() < 2) {
        refuse(DesignInput::Curve, "a curve needs at least two points");
    }
    return curve;
}

double specificLoss(const LossCurve& curve, double fluxDensity) {
    const std::vector<LossPoint>& points = curve.points;
    if (points.empty() ||
        !(fluxDensity >= points.front().fluxDensity && fluxDensity <= points.back().fluxDensity)) {
        refuse(DesignInput::FluxDensity,
               "the flux density " + writeDefault(fluxDensity) + " T lies outside the curve " +
                   curve.name + " (" +
                   writeDefault(points.empty() ? 0 : points.front().fluxDensity) + " to " +
                   writeDefault(points.empty() ? 0 : points.back().fluxDensity) +
                   " T); a curve is never extrapolated");
    }
    const auto above =
        std::lower_bound(points.begin(), points.end(), fluxDensity,
                         [](const LossPoint& point, double b) { return point.fluxDensity < b; });
    if (above->fluxDensity == fluxDensity) {
        return above->specificLoss;
    }
    const LossPoint& high = *above;
    const LossPoint& low = *(above - 1);
    return low.specificLoss + (fluxDensity - low.fluxDensity) /
                                  (high.fluxDensity - low.fluxDensity) *
                                  (high.specificLoss - low.specificLoss);
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
    try {
        return noLoadLoss(curve, fluxDensity, mass, buildingFactor);
    } catch (const DesignError& error) {
        if (error.input() != DesignInput::FluxDensity) {
            throw;
        }
        throw DesignError(DesignInput::VoltsPerTurn, error.rule(), error.what());
    }
}

}  // namespace kalvitra::workshop
