#include "kalvitra/designer/calculator_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kalvitra::designer {

CalculatorLauncher::Places CalculatorLauncher::placesOfThisProgram() {
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation),
            QCoreApplication::applicationPid()};
}

CalculatorLauncher::CalculatorLauncher(Places places) : places_(std::move(places)) {}

QString CalculatorLauncher::calculator() const {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("kalvitra.exe");
#else
    const QString name = QStringLiteral("kalvitra");
#endif
    // Installed, the two programs lie side by side; in a build tree, the
    // calculator is built in its own folder beside the designer's.
    const QDir folder(places_.programFolder);
    for (const QString& candidate :
         {folder.filePath(name), folder.filePath(QStringLiteral("../app/") + name)}) {
        if (QFileInfo(candidate).isExecutable()) {
            return QDir::cleanPath(candidate);
        }
    }
    return QStandardPaths::findExecutable(QStringLiteral("kalvitra"));
}

QString CalculatorLauncher::sheetPath(const QString& designName) const {
    return QDir(places_.tempFolder)
        .filePath(
            QStringLiteral("kalvitra-designer-%1-%2.kvs").arg(places_.processId).arg(designName));
}

CalculatorLauncher::Launch CalculatorLauncher::prepare(const DesignExporter& exporter,
                                                       const QString& designName) const {
    Launch launch;
    const QString program = calculator();
    if (program.isEmpty()) {
        launch.problem = Problem::NoCalculator;
        return launch;
    }
    launch.sheet = sheetPath(designName);
    if (const std::optional<QString> error = exporter.exportSheet(launch.sheet)) {
        launch.problem = Problem::SheetNotWritten;
        launch.reason = *error;
        return launch;
    }
    launch.command = Command{program, {launch.sheet}};
    return launch;
}

CalculatorLauncher::Launch CalculatorLauncher::launch(const DesignExporter& exporter,
                                                      const QString& designName) const {
    Launch launch = prepare(exporter, designName);
    if (launch.command &&
        !QProcess::startDetached(launch.command->program, launch.command->arguments)) {
        launch.problem = Problem::NotStarted;
    }
    return launch;
}

}  // namespace kalvitra::designer
