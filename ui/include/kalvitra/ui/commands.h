#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <optional>

#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/ui/controls.h"

// What a button press does, apart from any widget: run one command against
// the sheet and say how it went. The window shows the outcome.

namespace kalvitra::ui {

struct CommandOutcome {
    enum class Status {
        Done,           // finished; the fields show its results
        Failed,         // stopped with an error; fields written before it keep their texts
        ExitRequested,  // the designer asked to end the program
    };
    Status status = Status::Done;
    QString message;  // for Failed: what to tell the designer, in Chinese

    bool failed() const { return status == Status::Failed; }
};

// Prints the sheet; returns what went wrong, or nothing when it printed.
using PrintSheet = std::function<std::optional<QString>()>;

class CommandRunner {
public:
    CommandRunner(SheetAccess& sheet, PrintSheet print);

    // Runs the command once, to its end or to its first error. An error of
    // the calculation is caught here and becomes the outcome: nothing is
    // rolled back, and the program carries on.
    CommandOutcome run(const Command& command);

private:
    SheetAccess& sheet_;
    PrintSheet print_;
};

// The kind of a calculation error as the designer reads it: "无效参数".
QString errorKindText(ErrorKind kind);

// The whole report of a failed calculation: kind, a hint at its usual cause
// and the place the calculation names.
QString calculationErrorMessage(const CalcError& error);

// The report of an unexpected failure inside a calculation.
QString internalErrorMessage(const std::exception& error);

// The report of a failed print request.
QString printErrorMessage(const QString& problem);

}  // namespace kalvitra::ui
