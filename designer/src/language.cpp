#include "kalvitra/designer/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kalvitra::designer {
namespace {

Language installed = Language::English;

}  // namespace

Language languageOfLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese ? Language::Chinese : Language::English;
}

bool installLanguage(QCoreApplication& application, Language language) {
    // One translator of each kind for the program's life; a second call
    // replaces what the first installed.
    static QTranslator own;
    static QTranslator toolkit;
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&toolkit);
    const QString suffix =
        language == Language::Chinese ? QStringLiteral("zh_CN") : QStringLiteral("en");
    const bool loaded = own.load(QStringLiteral(":/i18n/kalvitra-designer_") + suffix);
    if (loaded) {
        application.installTranslator(&own);
    }
    // The toolkit's own words (file dialogs, context menus of fields);
    // English needs none.
    if (language == Language::Chinese &&
        toolkit.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        application.installTranslator(&toolkit);
    }
    installed = language;
    return loaded;
}

Language currentLanguage() {
    return installed;
}

Arguments parseArguments(const QStringList& arguments) {
    Arguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString code;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
            continue;
        }
        if (argument == QLatin1String("--lang")) {
            if (i + 1 == arguments.size()) {
                parsed.error = QStringLiteral("--lang needs a language: zh or en");
                return parsed;
            }
            code = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--lang="))) {
            code = argument.mid(7);
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            parsed.error = QStringLiteral("unknown option %1").arg(argument);
            return parsed;
        } else if (!parsed.file.isEmpty()) {
            parsed.error =
                QStringLiteral("one file at a time: %1 and %2").arg(parsed.file, argument);
            return parsed;
        } else {
            parsed.file = argument;
            continue;
        }
        parsed.language = drawing::languageByCode(code.toStdString());
        if (!parsed.language) {
            parsed.error = QStringLiteral("--lang %1: the languages are zh and en").arg(code);
            return parsed;
        }
    }
    return parsed;
}

QString usageText() {
    return QStringLiteral(
        "Usage: kalvitra-designer [--lang zh|en] [FILE]\n"
        "Designs the stepped iron core of a power transformer live: section, stage table,\n"
        "cut list, frame mass and no-load loss.\n"
        "\n"
        "  --lang zh|en  the language of the window and its drawings (default: the locale's)\n"
        "  FILE          a design (.kvd) to open, or a sheet (.kvs) whose widths it takes\n");
}

}  // namespace kalvitra::designer
