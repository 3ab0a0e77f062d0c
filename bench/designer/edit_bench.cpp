// One edit in the designer, as a person makes it, on a 1000 mm core of nine
// stages on a 1 mm grid: the whole design recomputed through the core, and
// the window repainted. The window has one frame, 16.7 ms at 60 Hz, to do it
// in. Two edits are timed:
//   - a new diameter, the widths best for it;
//   - a new rated power, the rating driving the diameter (300 MVA,
//     220/35 kV, YNd11 at 1.6 T: about D = 1000 mm), so every edit runs the
//     turns, the net area, the diameter search with the stacks as cut, the
//     best widths and the no-load figures.
//
//   QT_QPA_PLATFORM=offscreen kalvitra-designer-edit-bench [EDITS]

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "kalvitra/designer/designer_window.h"
#include "kalvitra/designer/language.h"

using namespace kalvitra::designer;

namespace {

QLineEdit* field(const DesignerWindow& window, const char* key) {
    return static_cast<QLineEdit*>(window.inputControl(QLatin1String(key)));
}

// Times EDITS edits of the box KEY, alternating between two texts.
void timeEdits(DesignerWindow& window, const char* key, const QString& one, const QString& other,
               int edits, const char* what) {
    std::vector<double> times;
    for (int i = 0; i < edits; ++i) {
        const auto start = std::chrono::steady_clock::now();
        field(window, key)->setText(i % 2 == 0 ? one : other);
        window.repaint();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%s (%d edits): median %.2f ms, 95th percentile %.2f ms, slowest %.2f ms\n", what,
                edits, times[times.size() / 2], times[times.size() * 95 / 100], times.back());
}

bool designed(DesignerWindow& window) {
    window.repaint();
    return !window.isOutOfDate() && window.stageTable()->rowCount() == 9;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int edits = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    installLanguage(app, Language::Chinese);
    DesignerWindow window;
    window.show();
    // A frame that fits the larger core.
    field(window, "windowHeight")->setText(QStringLiteral("3000"));
    field(window, "centreDistance")->setText(QStringLiteral("1800"));
    field(window, "grid")->setText(QStringLiteral("1"));
    field(window, "stages")->setText(QStringLiteral("9"));
    field(window, "diameter")->setText(QStringLiteral("1000"));
    if (!designed(window)) {
        std::fprintf(stderr, "the 1000 mm core was not designed\n");
        return 1;
    }
    timeEdits(window, "diameter", QStringLiteral("999"), QStringLiteral("1000"), edits,
              "one edit at D = 1000 mm, 9 stages, 1 mm grid, recomputed and repainted");

    field(window, "ratedPower")->setText(QStringLiteral("300000"));
    field(window, "hvVoltage")->setText(QStringLiteral("220"));
    field(window, "lvVoltage")->setText(QStringLiteral("35"));
    field(window, "connection")->setText(QStringLiteral("YNd11"));
    auto* mode = static_cast<QComboBox*>(window.inputControl(QStringLiteral("widthMode")));
    mode->setCurrentIndex(mode->findData(QStringLiteral("rating")));
    if (!designed(window)) {
        std::fprintf(stderr, "the 300 MVA rating designed no nine-stage core\n");
        return 1;
    }
    const QString diameter = field(window, "diameter")->text();
    timeEdits(window, "ratedPower", QStringLiteral("301000"), QStringLiteral("300000"), edits,
              qPrintable(QStringLiteral("one edit of the rating driving D = %1 mm, 9 stages, "
                                        "1 mm grid, recomputed and repainted")
                             .arg(diameter)));
    return 0;
}
