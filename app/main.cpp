#include <QApplication>

#include "kalvitra/ui/calculator_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvitra::ui::CalculatorWindow window;
    window.show();
    return app.exec();
}
