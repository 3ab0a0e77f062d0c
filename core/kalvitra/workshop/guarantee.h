#pragma once

#include <string_view>

// The verdict on a no-load loss or current against the value guaranteed to
// the buyer, with the tolerance of GB/T 1094.1 (IEC 60076-1): a measured no-load
// loss may exceed its guarantee by 15 %, a no-load current by 30 %. A
// verdict is a result, never a refusal.

namespace kalvitra::workshop {

enum class Verdict {
    Within,           // at most the guaranteed value
    WithinTolerance,  // above it, at most the tolerance above it
    Beyond,           // above the tolerance
};

// As the batch tool writes it: "within", "within-tolerance", "beyond".
std::string_view verdictName(Verdict verdict);

// The tolerance above the guarantee, as a factor of it.
inline constexpr double kNoLoadLossTolerance = 1.15;
inline constexpr double kNoLoadCurrentTolerance = 1.30;

// The rule the verdicts apply, as every output names it.
inline constexpr std::string_view kToleranceRule =
    "GB/T 1094.1 (IEC 60076-1): no-load loss at most +15 %, no-load current at most +30 % "
    "above the guaranteed value";

struct GuaranteeCheck {
    Verdict verdict = Verdict::Within;
    double margin = 0;  // (guaranteed - value) / guaranteed, in %; positive when within
};

// value <= guaranteed is within (an equal value keeps the guarantee);
// value <= guaranteed · tolerance, that product in doubles, within the
// tolerance; above it beyond.
//   (480, 480, 1.15) -> within, 0 %; (552, 480, 1.15) -> within-tolerance,
//   -15 %; (500, 400, 1.15) -> beyond, -25 %
GuaranteeCheck checkGuarantee(double value, double guaranteed, double tolerance);

// The no-load loss P0 (W) against its guarantee, +15 %, and the no-load
// current I0 (%) against its own, +30 %. Throws DesignError(GuaranteedLoss)
// or (GuaranteedCurrent) for a guarantee not above 0, in the catalogue's
// words.
GuaranteeCheck checkNoLoadLoss(double loss, double guaranteedLoss);
GuaranteeCheck checkNoLoadCurrent(double current, double guaranteedCurrent);

}  // namespace kalvitra::workshop
