#include "kalvitra/rating/rating.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/loss.h"

namespace kalvitra::rating {
namespace {

[[noreturn]] void refuse(DesignInput input, DesignRule rule, const std::string& message) {
    throw DesignError(input, rule, message);
}

// ---- the connection -------------------------------------------------------

[[noreturn]] void refuseConnection(DesignRule rule, const std::string& message) {
    refuse(DesignInput::Connection, rule, "the connection " + message);
}

[[noreturn]] void refuseSymbol() {
    refuseConnection(DesignRule::Reading,
                     "is not an IEC symbol such as Dyn11: the HV winding D, Y or YN, the LV "
                     "winding d, y or yn, then the clock number 0 to 11");
}

// The winding a letter names, in capitals for the HV and small letters for
// the LV; a zigzag or single-phase winding is refused, anything else is not
// a symbol.
Winding windingOf(char letter, bool hv) {
    const char star = hv ? 'Y' : 'y';
    const char delta = hv ? 'D' : 'd';
    if (letter == star || letter == delta) {
        return letter == star ? Winding::Star : Winding::Delta;
    }
    if (letter == 'Z' || letter == 'z') {
        refuseConnection(DesignRule::Range,
                         "has a zigzag winding; the turns are worked out for star and delta "
                         "windings only");
    }
    if (letter == 'I' || letter == 'i') {
        refuseConnection(DesignRule::Range,
                         "is single-phase; the rating is of a three-phase transformer");
    }
    refuseSymbol();
}

// The clock number at the end of a symbol: one digit, or two from 10 on.
std::optional<int> clockOf(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const bool oneDigit = digits.size() == 1 && digit(digits[0]);
    const bool twoDigits = digits.size() == 2 && digits[0] == '1' && digit(digits[1]);
    if (!oneDigit && !twoDigits) {
        refuseSymbol();
    }
    const int clock = oneDigit ? digits[0] - '0' : 10 + (digits[1] - '0');
    if (clock > 11) {
        refuseConnection(DesignRule::Range, "has the clock number " + std::to_string(clock) +
                                                "; it must be 0 to 11 (in units of 30 degrees)");
    }
    return clock;
}

void checkClock(const Connection& connection) {
    if (!connection.clock) {
        return;
    }
    const bool alike = connection.hv == connection.lv;
    if ((*connection.clock % 2 == 0) != alike) {
        refuseConnection(DesignRule::Range,
                         "has the clock number " + std::to_string(*connection.clock) + ", but " +
                             (alike ? "two star or two delta windings give an even one"
                                    : "a delta and a star winding give an odd one"));
    }
}

// ---- the turns ------------------------------------------------------------

// R(x): the nearest whole number, halves going up. x - floor(x) is exact.
double roundHalfUp(double x) {
    const double whole = std::floor(x);
    return x - whole >= 0.5 ? whole + 1 : whole;
}

double phaseVoltage(double lineVoltageKv, Winding winding, DesignInput input) {
    const double line = lineVoltageKv * 1000;
    const double phase = winding == Winding::Star ? line / std::numbers::sqrt3 : line;
    if (!std::isfinite(phase)) {
        refuse(input, DesignRule::Range,
               "the " + std::string(definitionOf(input).noun) +
                   " is beyond the range of numbers in volts");
    }
    return phase;
}

void checkRating(const Rating& rating) {
    checkInput(DesignInput::RatedPower, rating.power);
    checkInput(DesignInput::HvVoltage, rating.hvVoltage);
    checkInput(DesignInput::LvVoltage, rating.lvVoltage);
    checkInput(DesignInput::Frequency, rating.frequency);
    checkInput(DesignInput::FluxDensity, rating.fluxDensity);
    if (rating.volts.voltsPerTurn) {
        checkInput(DesignInput::VoltsPerTurn, *rating.volts.voltsPerTurn);
    } else {
        checkInput(DesignInput::VoltsPerTurnFactor, rating.volts.factor);
    }
    if (rating.hvVoltage < rating.lvVoltage) {
        refuse(DesignInput::HvVoltage, DesignRule::Fit,
               "the HV line voltage " + writeDefault(rating.hvVoltage) +
                   " kV is below the LV line voltage " + writeDefault(rating.lvVoltage) +
                   " kV; the capital letters of the connection are the HV winding");
    }
}

// The turns of a winding, R(phase / e) and at least 1, refused beyond
// kMaxTurns naming where the volts per turn came from.
long long turnsFor(double phase, double voltsPerTurn, const Rating& rating,
                   std::string_view winding) {
    const double turns = std::max(1.0, roundHalfUp(phase / voltsPerTurn));
    if (!(turns <= kMaxTurns)) {
        const DesignInput source =
            rating.volts.voltsPerTurn ? DesignInput::VoltsPerTurn : DesignInput::VoltsPerTurnFactor;
        refuse(source, DesignRule::Fit,
               "the " + std::string(definitionOf(source).noun) + " gives " + writeDefault(turns) +
                   " turns on the " + std::string(winding) + " winding, more than " +
                   writeDefault(kMaxTurns));
    }
    return static_cast<long long>(turns);
}

}  // namespace

Connection readConnection(std::string_view symbol) {
    std::size_t at = 0;
    const auto next = [&] { return at < symbol.size() ? symbol[at] : '\0'; };
    Connection connection;
    connection.hv = windingOf(next(), true);
    ++at;
    if (next() == 'N' && connection.hv == Winding::Star) {
        connection.hvNeutral = true;
        ++at;
    }
    connection.lv = windingOf(next(), false);
    ++at;
    if (next() == 'n' && connection.lv == Winding::Star) {
        connection.lvNeutral = true;
        ++at;
    }
    connection.clock = clockOf(symbol.substr(at));
    checkClock(connection);
    return connection;
}

Turns turnsOf(const Rating& rating) {
    checkRating(rating);
    Turns turns;
    turns.hvPhaseVoltage =
        phaseVoltage(rating.hvVoltage, rating.connection.hv, DesignInput::HvVoltage);
    turns.lvPhaseVoltage =
        phaseVoltage(rating.lvVoltage, rating.connection.lv, DesignInput::LvVoltage);
    const double estimate = rating.volts.voltsPerTurn
                                ? *rating.volts.voltsPerTurn
                                : rating.volts.factor * std::sqrt(rating.power);
    turns.lvTurns = turnsFor(turns.lvPhaseVoltage, estimate, rating, "LV");
    turns.voltsPerTurn = turns.lvPhaseVoltage / static_cast<double>(turns.lvTurns);
    turns.hvTurns = turnsFor(turns.hvPhaseVoltage, turns.voltsPerTurn, rating, "HV");
    const double ratio = static_cast<double>(turns.hvTurns) / static_cast<double>(turns.lvTurns);
    turns.ratioErrorPercent = (ratio / (turns.hvPhaseVoltage / turns.lvPhaseVoltage) - 1) * 100;
    turns.ratioBeyondTolerance = std::abs(turns.ratioErrorPercent) > kRatioTolerancePercent;
    turns.netAreaRequired =
        turns.voltsPerTurn /
        (std::numbers::sqrt2 * std::numbers::pi * rating.frequency * rating.fluxDensity) * 1e4;
    if (!std::isfinite(turns.netAreaRequired)) {
        refuse(DesignInput::FluxDensity, DesignRule::Fit,
               "the flux density asks for a net area beyond the range of numbers");
    }
    return turns;
}

RatedCore rateCore(const Rating& rating, design::DiameterQuestion section) {
    RatedCore rated;
    rated.turns = turnsOf(rating);
    section.netArea = rated.turns.netAreaRequired;
    try {
        rated.core = design::smallestDiameter(section);
    } catch (const DesignError& error) {
        // The net area is no input here: the flux density asked for it.
        const bool area = error.input() == DesignInput::NetArea;
        refuse(area ? DesignInput::FluxDensity : error.input(),
               area ? DesignRule::Fit : error.rule(),
               "the core of " + writeDefault(rated.turns.netAreaRequired) +
                   " cm\u00B2 net that the rating asks for: " + error.what());
    }
    const workshop::Section cut = {rated.core.diameter, rated.core.widths};
    rated.stacks = workshop::stepStacks(cut, section.stackRound);
    const double netAreaMm2 = workshop::netArea(cut, rated.stacks, section.stackingFactor);
    rated.netArea = netAreaMm2 / 100;
    rated.fluxDensity =
        workshop::fluxDensityOf(rated.turns.voltsPerTurn, rating.frequency, netAreaMm2);
    return rated;
}

}  // namespace kalvitra::rating
