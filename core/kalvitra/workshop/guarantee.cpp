#include "kalvitra/workshop/guarantee.h"

#include "kalvitra/inputs/catalogue.h"

namespace kalvitra::workshop {

std::string_view verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Within:
            return "within";
        case Verdict::WithinTolerance:
            return "within-tolerance";
        case Verdict::Beyond:
            break;
    }
    return "beyond";
}

GuaranteeCheck checkGuarantee(double value, double guaranteed, double tolerance) {
    GuaranteeCheck check;
    check.margin = (guaranteed - value) / guaranteed * 100.0;
    if (value <= guaranteed) {
        check.verdict = Verdict::Within;
    } else if (value <= guaranteed * tolerance) {
        check.verdict = Verdict::WithinTolerance;
    } else {
        check.verdict = Verdict::Beyond;
    }
    return check;
}

GuaranteeCheck checkNoLoadLoss(double loss, double guaranteedLoss) {
    checkInput(DesignInput::GuaranteedLoss, guaranteedLoss);
    return checkGuarantee(loss, guaranteedLoss, kNoLoadLossTolerance);
}

GuaranteeCheck checkNoLoadCurrent(double current, double guaranteedCurrent) {
    checkInput(DesignInput::GuaranteedCurrent, guaranteedCurrent);
    return checkGuarantee(current, guaranteedCurrent, kNoLoadCurrentTolerance);
}

}  // namespace kalvitra::workshop
