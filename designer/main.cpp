#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "kalvitra/designer/designer_window.h"
#include "kalvitra/designer/language.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvitra-designer"));
    QApplication::setOrganizationName(QStringLiteral("Kalvitra"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.kalvitra.designer"));

    // The toolkit has taken its own options (-platform and the like) out.
    using namespace kalvitra::designer;
    const Arguments arguments = parseArguments(QApplication::arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        std::fprintf(stderr, "kalvitra-designer: %s\n%s", qPrintable(arguments.error),
                     qPrintable(usageText()));
        return 2;
    }
    if (arguments.help) {
        std::fputs(usageText().toUtf8().constData(), stdout);
        return 0;
    }
    installLanguage(app, arguments.language.value_or(languageOfLocale(QLocale::system())));

    DesignerWindow window;
    window.show();
    if (!arguments.file.isEmpty()) {
        window.openFile(arguments.file);
    }
    return app.exec();
}
