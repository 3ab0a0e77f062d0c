// Opens the designer with the published 196 mm core typed in as a designer
// would (widths as given), and saves a picture of the window, for the
// documentation.
//
//   kalvitra-designer-snapshot zh|en WINDOW.png

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "kalvitra/designer/designer_window.h"
#include "kalvitra/designer/language.h"

using namespace kalvitra::designer;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const std::optional<Language> language =
        argc == 3 ? kalvitra::drawing::languageByCode(argv[1]) : std::nullopt;
    if (!language) {
        std::fprintf(stderr, "usage: %s zh|en WINDOW.png\n", argv[0]);
        return 2;
    }
    installLanguage(app, *language);
    DesignerWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    auto* mode = static_cast<QComboBox*>(window.inputControl(QStringLiteral("widthMode")));
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);  // best for D -> as given
    auto* widths = static_cast<QLineEdit*>(window.inputControl(QStringLiteral("widths")));
    widths->selectAll();
    QTest::keyClicks(widths, QStringLiteral("190 180 160 140 120 100 65 30"));
    QTest::keyClick(widths, Qt::Key_Home);
    QTest::qWait(100);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
