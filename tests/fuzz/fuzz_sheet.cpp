// Whole sheets: hostile texts in the fields, then the actions in any order.
//
// The input is read line by line, so the corpus can hold readable sheets:
//   NAME=TEXT   the field gets TEXT, byte for byte
//   NAME~BYTES  the field gets a hostile text that BYTES choose (see hostileText)
//   *BYTES      every field gets a hostile text that BYTES choose
//   >LETTERS    runs actions in turn: t stage thicknesses, g gross area,
//               n net area, s total stack, w core weight
// Any other line is ignored. An input without a '>' line runs all five
// actions in the order a designer would.
//
// For every action run it checks: only CalcError escapes, of a kind that
// action can raise; the action wrote only its own result fields; after an
// error the action wrote a leading part of its writes in their order (so the
// fields it had not reached keep their old texts) and nothing at all for the
// one-result actions; after success every result field holds a text of the
// shape its writer promises; and a second run on the same sheet gives the
// same texts and the same error.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/lenient_reading.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/testing/recording_sheet.h"
#include "kalvitra/text/numbers.h"

namespace {

using kalvitra::Action;
using kalvitra::CalcError;
using kalvitra::ErrorKind;
using kalvitra::Field;
using kalvitra::kFieldCount;
using kalvitra::kStageCount;
using kalvitra::Sheet;
using kalvitra::fuzz::fail;
using kalvitra::fuzz::require;
using kalvitra::testing::RecordingSheet;

// Texts that sit on the edges of the double range and of the readers.
constexpr std::string_view kEdgeTexts[] = {
    "1.7976931348623157E+308",  // the largest double
    "1.79769313486232E+308",    // its 15-digit text, just beyond the range
    "1.3407807929942596E+154",  // its square root: squares to the edge
    "9.48075190810918E+153",    // sqrt(largest / 2): sums of squares overflow
    "1E+200",
    "1E+154",
    "2.2250738585072014E-308",  // the smallest normal double
    "4.9E-324",                 // the smallest subnormal
    "1E-400",                   // underflows to 0
    "1E+400",                   // overflows
    "1e99999999999999999999",
    "0e99999999999999999999",
    "-0",
    "0000.00",
    "-0000.00",
    "1,234.5",
    "289.499 cm2",
    "0,96",
    "7.65",
    "200",
    "190",
    "62.45",
};

// Pieces for long texts and for text the readers must not mistake for
// digits: full-width digits, a right-to-left mark, an emoji, NUL, CR.
constexpr std::string_view kPieces[] = {
    "9",
    "0",
    " ",
    ",",
    ".",
    "E",
    "-",
    "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93",  // "１２３"
    "\xE2\x80\x8F",                          // right-to-left mark
    "\xF0\x9F\x98\x80",                      // an emoji
    std::string_view("\0", 1),
    "\r",
    "\t",
    "\n",
    "mm",
};

std::string randomDoubleText(FuzzedDataProvider& in) {
    double value = 0.0;
    const auto bits = in.ConsumeIntegral<std::uint64_t>();
    std::memcpy(&value, &bits, sizeof value);
    if (value != value || value - value != 0.0) {  // NaN or infinity: no text of a double
        value = std::numeric_limits<double>::max();
    }
    char buffer[64];
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            std::snprintf(buffer, sizeof buffer, "%.17g", value);
            return buffer;
        case 1:
            std::snprintf(buffer, sizeof buffer, "%.15G", value);
            return buffer;
        default:
            return kalvitra::writeDefault(value);
    }
}

std::string digitsWithExponent(FuzzedDataProvider& in) {
    std::string text = in.ConsumeBool() ? "-" : "";
    const int digits = in.ConsumeIntegralInRange(1, 40);
    for (int i = 0; i < digits; ++i) {
        text += static_cast<char>('0' + in.ConsumeIntegralInRange(0, 9));
        if (i == 0 && in.ConsumeBool()) {
            text += '.';
        }
    }
    text += in.ConsumeBool() ? 'E' : 'e';
    text += std::to_string(in.ConsumeIntegralInRange(-400, 400));
    return text;
}

std::string groupedNumber(FuzzedDataProvider& in) {
    std::string text = std::to_string(in.ConsumeIntegralInRange(1, 999));
    const int groups = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < groups; ++i) {
        char group[8];
        std::snprintf(group, sizeof group, ",%03d", in.ConsumeIntegralInRange(0, 999));
        text += group;
    }
    if (in.ConsumeBool()) {
        text += '.' + std::to_string(in.ConsumeIntegralInRange(0, 99999));
    }
    return text;
}

std::string longText(FuzzedDataProvider& in) {
    const std::string_view piece =
        kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(1, 20000);
    std::string text = in.ConsumeBool() ? "1" : "";
    text.reserve(text.size() + piece.size() * count + 1);
    for (std::size_t i = 0; i < count; ++i) {
        text += piece;
    }
    if (in.ConsumeBool()) {
        text += '1';
    }
    return text;
}

std::string mixedText(FuzzedDataProvider& in) {
    std::string text;
    const int parts = in.ConsumeIntegralInRange(1, 12);
    for (int i = 0; i < parts; ++i) {
        if (in.ConsumeBool()) {
            text += std::to_string(in.ConsumeIntegralInRange(0, 999));
        } else {
            text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
        }
    }
    return text;
}

// A text chosen by the fuzzer's bytes, biased towards the texts that break
// readers and arithmetic.
std::string hostileText(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0:
            return "";
        case 1:
            return std::string(
                kEdgeTexts[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kEdgeTexts) - 1)]);
        case 2:
            return (in.ConsumeBool() ? "-" : "") +
                   std::string(kEdgeTexts[in.ConsumeIntegralInRange<std::size_t>(
                       0, std::size(kEdgeTexts) - 1)]);
        case 3:
            return randomDoubleText(in);
        case 4:
            return digitsWithExponent(in);
        case 5:
            return groupedNumber(in);
        case 6:
            return longText(in);
        case 7:
            return mixedText(in);
        case 8:
            return std::to_string(in.ConsumeIntegralInRange(-1000, 1000));
        default:
            return in.ConsumeRandomLengthString(64);
    }
}

// The fields pass 1 of the stage thicknesses writes on a run that completes,
// in order: every thickness field twice, default text, then pattern. Which
// fields each action may write at all is the core's writes().
std::vector<Field> stagePassOneWrites() {
    std::vector<Field> writes;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        writes.push_back(kalvitra::thicknessField(stage));
        writes.push_back(kalvitra::thicknessField(stage));
    }
    return writes;
}

// The errors each action can raise on finite inputs: an overflow anywhere;
// a negative number under the square root only in the stage thicknesses; a
// text that is not a number only in the net area's strict reading. No
// action divides by a field, and finite inputs make no invalid operation
// that an overflow did not cause first.
bool mayRaise(Action action, ErrorKind kind) {
    if (kind == ErrorKind::Overflow) {
        return true;
    }
    if (kind == ErrorKind::InvalidArgument) {
        return action == Action::StageThicknesses;
    }
    if (kind == ErrorKind::TypeMismatch) {
        return action == Action::NetArea;
    }
    return false;
}

std::string_view nameOf(Action action) {
    return kalvitra::actionName(action);
}

struct Outcome {
    Sheet sheet;
    std::vector<Field> writes;
    std::optional<ErrorKind> error;
};

Outcome run(Action action, const Sheet& before) {
    RecordingSheet recording(before);
    Outcome outcome;
    try {
        kalvitra::runAction(action, recording);
    } catch (const CalcError& error) {
        outcome.error = error.kind();
    } catch (...) {
        fail("an action threw something other than CalcError", nameOf(action));
    }
    outcome.sheet = recording.sheet();
    for (const auto& [field, text] : recording.writes) {
        outcome.writes.push_back(field);
    }
    return outcome;
}

void checkAfterError(Action action, const Outcome& outcome) {
    if (action != Action::StageThicknesses) {
        require(outcome.writes.empty(), "a failed action wrote its result field", nameOf(action));
        return;
    }
    // Stopped in pass 1 (passes 2 and 3 read only what pass 1 already read
    // successfully): the writes are the first ones of pass 1, in order.
    const std::vector<Field> order = stagePassOneWrites();
    require(outcome.writes.size() <= order.size() &&
                std::equal(outcome.writes.begin(), outcome.writes.end(), order.begin()),
            "the failed stage action wrote out of order or beyond the stage that failed",
            nameOf(action));
    // Completed stages hold their pattern; a stage stopped between its two
    // writes holds the default text.
    for (std::size_t i = 0; i < outcome.writes.size(); ++i) {
        const std::string& text = outcome.sheet.textRef(outcome.writes[i]);
        const bool last = i + 1 == outcome.writes.size();
        if (i % 2 == 1) {
            if (const char* problem = kalvitra::fuzz::patternTextProblem(text)) {
                fail(problem, text);
            }
        } else if (last) {
            if (const char* problem = kalvitra::fuzz::defaultTextProblem(text)) {
                fail(problem, text);
            }
        }
    }
}

void checkAfterSuccess(Action action, const Sheet& before, const Outcome& outcome) {
    auto requireDefault = [](const std::string& text) {
        if (const char* problem = kalvitra::fuzz::defaultTextProblem(text)) {
            fail(problem, text);
        }
    };
    switch (action) {
        case Action::StageThicknesses:
            for (int stage = 1; stage <= kStageCount; ++stage) {
                const std::string& thickness =
                    outcome.sheet.textRef(kalvitra::thicknessField(stage));
                const bool unused =
                    kalvitra::readLenient(before.text(kalvitra::widthField(stage))) == 0.0;
                if (unused) {
                    require(thickness == "0", "a stage without width was not reset to 0",
                            thickness);
                } else if (const char* problem = kalvitra::fuzz::patternTextProblem(thickness)) {
                    fail(problem, thickness);
                }
                if (stage == 1) {
                    continue;
                }
                const std::string& other =
                    outcome.sheet.textRef(kalvitra::secondColumnField(stage));
                if (unused) {
                    require(other == "0", "a second-column field without width was not reset",
                            other);
                } else {
                    require(other == kalvitra::writeDefault(kalvitra::readLenient(thickness)),
                            "the second column is not the thickness in default form", other);
                }
            }
            break;
        case Action::GrossArea:
            requireDefault(outcome.sheet.textRef(Field::txmj));
            break;
        case Action::NetArea:
            requireDefault(outcome.sheet.textRef(Field::txjmj));
            break;
        case Action::TotalStack:
            requireDefault(outcome.sheet.textRef(Field::dh));
            break;
        case Action::CoreWeight:
            requireDefault(outcome.sheet.textRef(Field::txz));
            break;
    }
}

void checkAction(Action action, const Sheet& before, const Outcome& outcome) {
    for (Field field : outcome.writes) {
        require(kalvitra::writes(action, field), "an action wrote a field that is not its own",
                kalvitra::fieldName(field));
    }
    // Only writes change a field: every field not written is as before.
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Field field = kalvitra::fieldAt(i);
        if (std::find(outcome.writes.begin(), outcome.writes.end(), field) ==
            outcome.writes.end()) {
            require(outcome.sheet.textRef(field) == before.textRef(field),
                    "a field changed without being written", kalvitra::fieldName(field));
        }
    }
    if (outcome.error) {
        require(mayRaise(action, *outcome.error), "an action raised an error it cannot have",
                kalvitra::errorKindName(*outcome.error));
        checkAfterError(action, outcome);
    } else {
        checkAfterSuccess(action, before, outcome);
    }
    // Same sheet, same press: same texts, same error.
    const Outcome again = run(action, before);
    require(again.error == outcome.error && again.sheet == outcome.sheet,
            "a second run on the same sheet ended differently", nameOf(action));
}

std::optional<Action> actionForLetter(char letter) {
    switch (letter) {
        case 't':
            return Action::StageThicknesses;
        case 'g':
            return Action::GrossArea;
        case 'n':
            return Action::NetArea;
        case 's':
            return Action::TotalStack;
        case 'w':
            return Action::CoreWeight;
        default:
            return std::nullopt;
    }
}

void runActions(Sheet& sheet, std::string_view letters) {
    for (char letter : letters) {
        if (const std::optional<Action> action = actionForLetter(letter)) {
            Outcome outcome = run(*action, sheet);
            checkAction(*action, sheet, outcome);
            sheet = std::move(outcome.sheet);  // the designer carries on after an error
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Sheet sheet;
    bool ranActions = false;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);

        if (line.starts_with('>')) {
            runActions(sheet, line.substr(1));
            ranActions = true;
        } else if (line.starts_with('*')) {
            FuzzedDataProvider bytes(reinterpret_cast<const std::uint8_t*>(line.data()) + 1,
                                     line.size() - 1);
            for (std::size_t i = 0; i < kFieldCount; ++i) {
                sheet.setText(kalvitra::fieldAt(i), hostileText(bytes));
            }
        } else if (const std::size_t split = line.find_first_of("=~");
                   split != std::string_view::npos) {
            const std::optional<Field> field = kalvitra::fieldByName(line.substr(0, split));
            if (!field) {
                continue;
            }
            const std::string_view rest = line.substr(split + 1);
            if (line[split] == '=') {
                sheet.setText(*field, rest);
            } else {
                FuzzedDataProvider bytes(reinterpret_cast<const std::uint8_t*>(rest.data()),
                                         rest.size());
                sheet.setText(*field, hostileText(bytes));
            }
        }
    }
    if (!ranActions) {
        runActions(sheet, "tgnsw");
    }
    return 0;
}
