#include "kalvitra/errors.h"

namespace kalvitra {

std::string_view errorKindName(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::TypeMismatch:
            return "type-mismatch";
        case ErrorKind::Overflow:
            return "overflow";
        case ErrorKind::DivisionByZero:
            return "division-by-zero";
        case ErrorKind::InvalidOperation:
            return "invalid-operation";
        case ErrorKind::InvalidArgument:
            return "invalid-argument";
    }
    return "unknown";
}

}  // namespace kalvitra
