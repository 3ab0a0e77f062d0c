#include "kalvitra/rating/rating.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "kalvitra/text/numbers.h"

namespace kalvitra::rating {
namespace {

Rating tender(double hv, double lv, const char* connection) {
    Rating rating;
    rating.power = 500;
    rating.hvVoltage = hv;
    rating.lvVoltage = lv;
    rating.connection = readConnection(connection);
    rating.fluxDensity = 1.6;
    return rating;
}

struct ConnectionCase {
    const char* name;
    const char* symbol;
    Winding hv;
    Winding lv;
    bool hvNeutral;
    bool lvNeutral;
    std::optional<int> clock;
    long long hvTurns;  // 500 kVA, 10/0.4 kV at K_t 0.45
    long long lvTurns;
    friend void PrintTo(const ConnectionCase& c, std::ostream* os) { *os << c.name; }
};

class Connections : public testing::TestWithParam<ConnectionCase> {};

// A star's phase voltage is the line's over √3, a delta's the line's: the
// LV turns are R(230.94/10.062) = 23 for a star and R(400/10.062) = 40 for a
// delta, the HV's follow at the volts per turn those leave.
TEST_P(Connections, WindingsGiveThePhaseVoltagesAndTurns) {
    const ConnectionCase& c = GetParam();
    const Connection connection = readConnection(c.symbol);
    EXPECT_EQ(connection.hv, c.hv);
    EXPECT_EQ(connection.lv, c.lv);
    EXPECT_EQ(connection.hvNeutral, c.hvNeutral);
    EXPECT_EQ(connection.lvNeutral, c.lvNeutral);
    EXPECT_EQ(connection.clock, c.clock);
    const Turns turns = turnsOf(tender(10, 0.4, c.symbol));
    EXPECT_EQ(turns.hvPhaseVoltage, c.hv == Winding::Star ? 10000 / std::numbers::sqrt3 : 10000);
    EXPECT_EQ(turns.lvPhaseVoltage, c.lv == Winding::Star ? 400 / std::numbers::sqrt3 : 400);
    EXPECT_EQ(turns.hvTurns, c.hvTurns);
    EXPECT_EQ(turns.lvTurns, c.lvTurns);
}

using enum Winding;

INSTANTIATE_TEST_SUITE_P(
    Cases, Connections,
    testing::Values(ConnectionCase{"Dyn11", "Dyn11", Delta, Star, false, true, 11, 996, 23},
                    ConnectionCase{"Yyn0", "Yyn0", Star, Star, false, true, 0, 575, 23},
                    ConnectionCase{"Yd11", "Yd11", Star, Delta, false, false, 11, 577, 40},
                    ConnectionCase{"YNd11", "YNd11", Star, Delta, true, false, 11, 577, 40},
                    ConnectionCase{"Dd0", "Dd0", Delta, Delta, false, false, 0, 1000, 40},
                    ConnectionCase{"Yy6", "Yy6", Star, Star, false, false, 6, 575, 23},
                    ConnectionCase{"Dy5", "Dy5", Delta, Star, false, false, 5, 996, 23},
                    ConnectionCase{"YNyn0", "YNyn0", Star, Star, true, true, 0, 575, 23},
                    ConnectionCase{"NoClock", "Dyn", Delta, Star, false, true, std::nullopt, 996,
                                   23}),
    [](const auto& info) { return std::string(info.param.name); });

struct RatioCase {
    const char* name;
    double voltsPerTurn;  // e₀ given
    long long lvTurns;
    long long hvTurns;
    bool flagged;
    friend void PrintTo(const RatioCase& c, std::ostream* os) { *os << c.name; }
};

class RatioError : public testing::TestWithParam<RatioCase> {};

// 10/0.4 kV Dyn11, the ratio 43.3013: few LV turns leave the HV turns far
// from it. N2 = 1: 43 turns, −0.70 %; N2 = 2: 87, +0.46 %; N2 = 3: R(129.9)
// = 130, +0.077 %.
TEST_P(RatioError, IsFlaggedBeyondHalfAPercent) {
    const RatioCase& c = GetParam();
    Rating rating = tender(10, 0.4, "Dyn11");
    rating.volts.voltsPerTurn = c.voltsPerTurn;
    const Turns turns = turnsOf(rating);
    EXPECT_EQ(turns.lvTurns, c.lvTurns);
    EXPECT_EQ(turns.hvTurns, c.hvTurns);
    const double ratio = static_cast<double>(c.hvTurns) / static_cast<double>(c.lvTurns);
    EXPECT_EQ(turns.ratioErrorPercent, (ratio / (10000 / (400 / std::numbers::sqrt3)) - 1) * 100);
    EXPECT_EQ(turns.ratioBeyondTolerance, c.flagged);
    EXPECT_EQ(turns.ratioBeyondTolerance, std::abs(turns.ratioErrorPercent) > 0.5);
}

INSTANTIATE_TEST_SUITE_P(Cases, RatioError,
                         testing::Values(RatioCase{"OneLvTurn", 230, 1, 43, true},
                                         RatioCase{"TwoLvTurns", 115, 2, 87, false},
                                         RatioCase{"ThreeLvTurns", 77, 3, 130, false},
                                         RatioCase{"VoltsPerTurnAboveThePhase", 1e6, 1, 43, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// R(x) rounds half up: 230.94/e₀ = 22.5 exactly gives 23, not 22.
TEST(Rating, TurnsRoundHalfUp) {
    Rating rating = tender(10, 0.4, "Dyn11");
    const double lvPhase = 400 / std::numbers::sqrt3;
    rating.volts.voltsPerTurn = lvPhase / 22.5;
    ASSERT_EQ(lvPhase / *rating.volts.voltsPerTurn, 22.5);
    EXPECT_EQ(turnsOf(rating).lvTurns, 23);
}

struct BadRating {
    const char* name;
    std::function<void()> ask;
    DesignInput input;
    DesignRule rule;
    std::string message;
    friend void PrintTo(const BadRating& c, std::ostream* os) { *os << c.name; }
};

class RatingRefuses : public testing::TestWithParam<BadRating> {};

TEST_P(RatingRefuses, NamesTheInputAndTheRule) {
    const BadRating& c = GetParam();
    try {
        c.ask();
        FAIL() << "no error";
    } catch (const DesignError& error) {
        EXPECT_EQ(error.input(), c.input) << error.what();
        EXPECT_EQ(error.rule(), c.rule) << error.what();
        EXPECT_EQ(error.what(), c.message);
    }
}

// A tender with one thing changed.
std::function<void()> turnsWith(std::function<void(Rating&)> change) {
    return [change] {
        Rating rating = tender(10, 0.4, "Dyn11");
        change(rating);
        turnsOf(rating);
    };
}

const std::string kNotASymbol =
    "the connection is not an IEC symbol such as Dyn11: the HV winding D, Y or YN, the LV "
    "winding d, y or yn, then the clock number 0 to 11";

INSTANTIATE_TEST_SUITE_P(
    Cases, RatingRefuses,
    testing::Values(
        BadRating{"HvOfZero", turnsWith([](Rating& r) { r.hvVoltage = 0; }), DesignInput::HvVoltage,
                  DesignRule::Range, "the HV line voltage must be a number greater than 0"},
        BadRating{"HvBelowLv", turnsWith([](Rating& r) { r.hvVoltage = 0.3; }),
                  DesignInput::HvVoltage, DesignRule::Fit,
                  "the HV line voltage 0.3 kV is below the LV line voltage 0.4 kV; the capital "
                  "letters of the connection are the HV winding"},
        BadRating{"FactorOfZero", turnsWith([](Rating& r) { r.volts.factor = 0; }),
                  DesignInput::VoltsPerTurnFactor, DesignRule::Range,
                  "the volts-per-turn factor must be a number greater than 0"},
        BadRating{"HvTurnsBeyondAnyWinding",
                  turnsWith([](Rating& r) { r.volts.voltsPerTurn = 0.05; }),
                  DesignInput::VoltsPerTurn, DesignRule::Fit,
                  "the voltage per turn gives 200009 turns on the HV winding, more than 100000"},
        BadRating{"LvTurnsBeyondAnyWindingFromTheFactor",
                  turnsWith([](Rating& r) { r.volts.factor = 1e-4; }),
                  DesignInput::VoltsPerTurnFactor, DesignRule::Fit,
                  "the volts-per-turn factor gives 103280 turns on the LV winding, more than "
                  "100000"},
        BadRating{"PhaseVoltageBeyondTheNumbers", turnsWith([](Rating& r) { r.hvVoltage = 1e306; }),
                  DesignInput::HvVoltage, DesignRule::Range,
                  "the HV line voltage is beyond the range of numbers in volts"},
        BadRating{"AreaNoCoreReaches",
                  [] {
                      Rating rating = tender(10, 0.4, "Dyn11");
                      rating.fluxDensity = 1e-3;
                      rateCore(rating, {0, 0.97, 9, 5, 1e200, 0, 0});
                  },
                  DesignInput::FluxDensity, DesignRule::Fit,
                  "the core of 451998.145642711 cm² net that the rating asks for: no core "
                  "diameter up to 1E+100 reaches the net area"},
        BadRating{"NotASymbol", [] { readConnection("Dx7"); }, DesignInput::Connection,
                  DesignRule::Reading, kNotASymbol},
        BadRating{"LeadingZeroClock", [] { readConnection("Dyn011"); }, DesignInput::Connection,
                  DesignRule::Reading, kNotASymbol},
        BadRating{"NeutralOfADelta", [] { readConnection("DNyn11"); }, DesignInput::Connection,
                  DesignRule::Reading, kNotASymbol},
        BadRating{"Zigzag", [] { readConnection("Yzn5"); }, DesignInput::Connection,
                  DesignRule::Range,
                  "the connection has a zigzag winding; the turns are worked out for star and "
                  "delta windings only"},
        BadRating{"SinglePhase", [] { readConnection("Ii0"); }, DesignInput::Connection,
                  DesignRule::Range,
                  "the connection is single-phase; the rating is of a three-phase transformer"},
        BadRating{"ClockBeyondEleven", [] { readConnection("Yy12"); }, DesignInput::Connection,
                  DesignRule::Range,
                  "the connection has the clock number 12; it must be 0 to 11 (in units of 30 "
                  "degrees)"},
        BadRating{"EvenClockOfDeltaStar", [] { readConnection("Dyn0"); }, DesignInput::Connection,
                  DesignRule::Range,
                  "the connection has the clock number 0, but a delta and a star winding give an "
                  "odd one"},
        BadRating{"OddClockOfStarStar", [] { readConnection("Yyn11"); }, DesignInput::Connection,
                  DesignRule::Range,
                  "the connection has the clock number 11, but two star or two delta windings "
                  "give an even one"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvitra::rating
