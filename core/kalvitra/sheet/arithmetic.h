#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "kalvitra/sheet/errors.h"

namespace kalvitra::detail {

// Double arithmetic that notes the IEEE 754 faults its operations raise, as
// the hardware's sticky flags would, so that an action can check them at the
// points its calculation names. Only finite numbers enter a calculation, so a
// NaN result means an invalid operation and an infinite one an overflow,
// unless it came from dividing by zero.
class CheckedArithmetic {
public:
    double add(double a, double b) { return noted(a + b, a, b); }
    double sub(double a, double b) { return noted(a - b, a, b); }
    double mul(double a, double b) { return noted(a * b, a, b); }
    double div(double a, double b) {
        if (b == 0.0 && a != 0.0 && std::isfinite(a)) {
            faults_ |= kDivisionByZero;
            return a / b;
        }
        return noted(a / b, a, b);
    }

    // Stops the calculation with the fault its arithmetic raised, if any.
    // Overflow and division by zero come first: they are the causes of the
    // invalid operations that follow them (infinity minus infinity). The
    // place is described only when there is a fault.
    void check(CalcPlace where) const {
        if (faults_ != 0) {
            raiseFault(where);
        }
    }

private:
    static constexpr unsigned kInvalid = 1;
    static constexpr unsigned kDivisionByZero = 2;
    static constexpr unsigned kOverflow = 4;

    [[noreturn]] void raiseFault(CalcPlace where) const {
        if (faults_ & kOverflow) {
            fail(ErrorKind::Overflow, where, "result beyond the double range");
        }
        if (faults_ & kDivisionByZero) {
            fail(ErrorKind::DivisionByZero, where, "division by zero");
        }
        fail(ErrorKind::InvalidOperation, where, "invalid operation");
    }

    double noted(double result, double a, double b) {
        if (std::isnan(result)) {
            if (!std::isnan(a) && !std::isnan(b)) {
                faults_ |= kInvalid;
            }
        } else if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
            faults_ |= kOverflow;
        }
        return result;
    }

    [[noreturn]] static void fail(ErrorKind kind, CalcPlace where, std::string_view what) {
        std::string message = describePlace(where);
        message += ": ";
        message += what;
        throw CalcError(kind, message, std::nullopt, where);
    }

    unsigned faults_ = 0;
};

}  // namespace kalvitra::detail
