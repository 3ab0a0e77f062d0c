#include <QApplication>

#include "kalvitra/ui/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvitra::ui::Form1 window;
    window.show();
    return app.exec();
}
