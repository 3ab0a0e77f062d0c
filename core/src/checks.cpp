#include "kalvitra/checks.h"

#include <cmath>

#include "kalvitra/numbers.h"
#include "kalvitra/sheet.h"

namespace kalvitra {

void checkDiameter(double diameter) {
    checkPositive(DesignInput::Diameter, "diameter", diameter);
    if (diameter < kMinDiameter || diameter > kMaxDiameter) {
        throw DesignError(DesignInput::Diameter, "the diameter must lie between " +
                                                     writeDefault(kMinDiameter) + " and " +
                                                     writeDefault(kMaxDiameter));
    }
}

void checkStackingFactor(double factor) {
    if (!(factor > 0.0 && factor <= 1.0)) {
        throw DesignError(DesignInput::StackingFactor,
                          "the stacking factor must be a number greater than 0 and at most 1");
    }
}

void checkStages(int stages) {
    if (stages < 1 || stages > kStageCount) {
        throw DesignError(DesignInput::Stages,
                          "the number of stages must be a whole number from 1 to " +
                              std::to_string(kStageCount));
    }
}

void checkPositive(DesignInput input, std::string_view what, double value) {
    if (!std::isfinite(value) || value <= 0.0) {
        throw DesignError(input,
                          "the " + std::string(what) + " must be a number greater than 0");
    }
}

}  // namespace kalvitra
