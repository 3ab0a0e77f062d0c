#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "kalvitra/drawing/section_drawing.h"

class QCoreApplication;

// The designer speaks Chinese or English: its own words from the translations
// compiled into it, the toolkit's dialogs from Qt's, and the drawings' words
// from the core in the same language.

namespace kalvitra::designer {

using drawing::Language;

// The language of a locale: Chinese for any Chinese locale, else English.
Language languageOfLocale(const QLocale& locale);

// Installs the translations of the language into the application and makes
// it the language of the drawings. Returns false when the designer's own
// translation is missing, which the tests treat as a fault.
bool installLanguage(QCoreApplication& application, Language language);

// The language installed last (English before any).
Language currentLanguage();

// The program's command line: `kalvitra-designer [--lang zh|en] [FILE]`.
struct Arguments {
    std::optional<Language> language;  // --lang; otherwise the locale's
    QString file;                      // a design (.kvd) or a sheet (.kvs)
    bool help = false;
    QString error;  // in English: the language is not known yet
};
Arguments parseArguments(const QStringList& arguments);

QString usageText();

}  // namespace kalvitra::designer
