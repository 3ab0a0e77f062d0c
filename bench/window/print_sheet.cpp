// The cost of one print request: the worked example's sheet printed into a
// PDF file through the printer path (QPrinter) and the PDF writer, timed per
// call, with the process's peak memory before and after.
//
//   kalvitra-window-print OUTPUT.pdf [REPEATS]
//   kalvitra-window-print --default-printer   (sends one real job)

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/testing/worked_example.h"
#include "kalvitra/ui/calculator_window.h"
#include "kalvitra/ui/print.h"

namespace {

// Peak resident memory of this process so far, in kB.
long peakResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

void fillWorkedExample(kalvitra::SheetAccess& sheet) {
    kalvitra::worked_example::fill(sheet, kalvitra::worked_example::kSection);
    kalvitra::worked_example::fill(sheet, kalvitra::worked_example::kFrame);
    for (kalvitra::Action action : kalvitra::kAllActions) {
        kalvitra::runAction(action, sheet);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf [REPEATS] | --default-printer\n", argv[0]);
        return 2;
    }
    kalvitra::ui::CalculatorWindow window;
    fillWorkedExample(window.sheet());
    const long peakBefore = peakResidentKilobytes();

    if (std::strcmp(argv[1], "--default-printer") == 0) {
        QElapsedTimer timer;
        timer.start();
        const auto problem =
            kalvitra::ui::printOnDefaultPrinter(window.fieldTexts(), window.palette());
        const double milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (problem) {
            std::fprintf(stderr, "printing failed: %s\n", qPrintable(*problem));
            return 1;
        }
        std::printf(
            "print call (default printer): %.1f ms; peak memory %.1f MB before, %.1f MB after\n",
            milliseconds, peakBefore / 1024.0, peakResidentKilobytes() / 1024.0);
        return 0;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    for (const bool throughPrinter : {true, false}) {
        std::vector<double> milliseconds;
        for (int run = 0; run < repeats; ++run) {
            QElapsedTimer timer;
            timer.start();
            std::optional<QString> problem;
            if (throughPrinter) {
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(output);
                problem = kalvitra::ui::printSheet(printer, window.fieldTexts(), window.palette());
            } else {
                QPdfWriter writer(output);
                problem = kalvitra::ui::printSheet(writer, window.fieldTexts(), window.palette());
            }
            milliseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (problem) {
                std::fprintf(stderr, "printing failed: %s\n", qPrintable(*problem));
                return 1;
            }
        }
        std::printf("%-28s first %.1f ms, median of %d %.1f ms\n",
                    throughPrinter ? "print call (QPrinter, PDF):" : "print call (QPdfWriter):",
                    milliseconds.front(), repeats, median(milliseconds));
    }
    const long peakAfter = peakResidentKilobytes();
    std::printf("peak memory: %.1f MB before printing, %.1f MB after\n", peakBefore / 1024.0,
                peakAfter / 1024.0);
    return 0;
}
