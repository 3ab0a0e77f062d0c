// The yardstick for kalvitra-window-startup: a plain Qt window with as many
// labels, fields and buttons as the calculator, no fonts or colours of its
// own, no calculations. Run beside it, it tells how much of the start-up is
// the toolkit's own and how busy the machine is.

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "quit_after_first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(688, 527);
    constexpr int kLabels = 20;
    constexpr int kFields = 39;
    constexpr int kButtons = 9;
    for (int i = 0; i < kLabels; ++i) {
        (new QLabel(QStringLiteral("第一级"), &window))->setGeometry(304, 8 + 25 * i, 57, 25);
    }
    for (int i = 0; i < kFields; ++i) {
        (new QLineEdit(&window))->setGeometry(376 + 100 * (i / 20), 8 + 25 * (i % 20), 97, 25);
    }
    for (int i = 0; i < kButtons; ++i) {
        (new QPushButton(QStringLiteral("级厚"), &window))->setGeometry(8, 8 + 30 * i, 89, 25);
    }
    QuitAfterFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
