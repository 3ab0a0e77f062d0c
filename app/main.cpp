#include <QApplication>

#include "kalvitra/ui/calculator_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvitra::ui::CalculatorWindow window;
    window.show();
    // `kalvitra FILE` starts with a sheet file; the toolkit has taken its own
    // options (-platform and the like) out of the arguments by now.
    window.openStartSheet(QApplication::arguments().mid(1));
    return app.exec();
}
