// Builds the real window, shows it and quits once it has been painted for
// the first time: the cost of starting the calculator, measured from outside
// as a whole process.

#include <QApplication>
#include <QEvent>

#include "kalvitra/ui/calculator_window.h"
#include "quit_after_first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvitra::ui::CalculatorWindow window;
    QuitAfterFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
