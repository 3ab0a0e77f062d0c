#include "kalvitra/sheet/errors.h"

#include "kalvitra/sheet/sheet.h"

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

std::string describePlace(CalcPlace place) {
    const auto ofStage = [&](std::string_view what) {
        return stagePlace(place.stage) + std::string(what);
    };
    switch (place.step) {
        case CalcStep::ReadField:
            return "reading a field";
        case CalcStep::StageSquares:
            return ofStage(", D\u00B2 \u2212 width\u00B2");
        case CalcStep::StageRoot:
            return ofStage("");
        case CalcStep::StageThickness:
            return ofStage(", thickness");
        case CalcStep::GrossArea:
            return "gross area";
        case CalcStep::NetArea:
            return "net area";
        case CalcStep::TotalStack:
            return "total stack thickness";
        case CalcStep::WeightYoke:
            return "core weight, H + PK1";
        case CalcStep::WeightOutline:
            return "core weight, " + ofStage(", outline");
        case CalcStep::WeightWindows:
            return "core weight, " + ofStage(", windows");
        case CalcStep::WeightThickness:
            return "core weight, " + ofStage(", thickness");
        case CalcStep::WeightDensity:
            return "core weight, dpxs \u00D7 MD";
        case CalcStep::Weight:
            return "core weight";
    }
    return "";
}

}  // namespace kalvitra
