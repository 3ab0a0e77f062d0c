#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

#include "kalvitra/designer/design_exporter.h"

// "Open in calculator": the design's sheet written to a temporary file, and
// the calculator (kalvitra, beside the designer or else on the PATH) started
// on it, apart from the designer. What it would run is known before
// anything is started.

namespace kalvitra::designer {

class CalculatorLauncher {
public:
    // Where the launcher looks and writes.
    struct Places {
        QString programFolder;  // the calculator is looked for here first
        QString tempFolder;     // the sheet is written here
        qint64 processId = 0;   // keeps the sheets of two designers apart
    };
    static Places placesOfThisProgram();

    struct Command {
        QString program;
        QStringList arguments;
    };
    enum class Problem {
        NoCalculator,     // neither beside the designer nor on the PATH
        SheetNotWritten,  // reason says why
        NotStarted,       // the command did not start
    };
    struct Launch {
        std::optional<Command> command;  // when the sheet is written
        std::optional<Problem> problem;
        QString sheet;   // the temporary sheet
        QString reason;  // why the sheet was not written
    };

    explicit CalculatorLauncher(Places places = placesOfThisProgram());

    // The calculator's program, or empty when there is none: beside the
    // designer, then in a build tree's calculator folder (../app), then on
    // the PATH.
    QString calculator() const;
    QString sheetPath(const QString& designName) const;
    // Writes the sheet and says what would run, without starting it.
    Launch prepare(const DesignExporter& exporter, const QString& designName) const;
    // Prepares, then starts the calculator apart from the designer.
    Launch launch(const DesignExporter& exporter, const QString& designName) const;

private:
    Places places_;
};

}  // namespace kalvitra::designer
