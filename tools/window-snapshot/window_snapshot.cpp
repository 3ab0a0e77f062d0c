// Fills in the six-stage worked example as a designer would, presses the
// calculation buttons, and saves a picture of the window and its printed
// page (as PDF) for the documentation. Net area and weight are both worked
// with the stacking factor 0.96 that the sheet shows.
//
//   kalvitra-window-snapshot WINDOW.png PAGE.pdf

#include <QApplication>
#include <QPdfWriter>
#include <QPixmap>
#include <array>
#include <cstdio>

#include "kalvitra/ui/print.h"
#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WINDOW.png PAGE.pdf\n", argv[0]);
        return 2;
    }
    CalculatorWindow window;
    if (!showAndActivate(window)) {
        std::fprintf(stderr, "the window did not become active\n");
        return 1;
    }
    typeInto(window, "Text1", QStringLiteral("S11-M-1000/10"));
    typeInto(window, "Text2", QStringLiteral("2024-017"));
    typeInto(window, "TXJS", QStringLiteral("6"));
    typeAll(window, kalvitra::worked_example::kSection);
    press(window, "jh");
    typeAll(window, std::array{kalvitra::worked_example::kNetAreaStackingFactor});
    press(window, "jmj");
    press(window, "Command3");
    press(window, "zdh");
    typeAll(window, kalvitra::worked_example::kFrame);
    // The frame's own stacking factor would leave the picture showing another
    // factor than the net area beside it was worked with: one factor for all.
    typeAll(window, std::array{kalvitra::worked_example::kNetAreaStackingFactor});
    press(window, "铁心重量");
    QTest::qWait(50);

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    QPdfWriter page(QString::fromLocal8Bit(argv[2]));
    if (const auto problem = printSheet(page, window.fieldTexts(), window.palette())) {
        std::fprintf(stderr, "%s\n", qPrintable(*problem));
        return 1;
    }
    return 0;
}
