#pragma once

#include <QString>
#include <QStringList>

#include "kalvitra/designer/language.h"

// What the Help menu opens: the user guide in the window's language, found
// where the program was installed or built, and the words of the About box.

namespace kalvitra::designer {

// The guide's file name in a language: "user-guide.zh_CN.md", "user-guide.md".
QString userGuideName(Language language);

// The folders the guide is looked for in, first to last, for a program in
// programFolder: beside it (a Windows install, docs/), the build tree's
// docs/ folder beside the designer's own folder, and the install's
// share/kalvitra.
QStringList userGuideFolders(const QString& programFolder);

// The first of those folders holding the guide in the language, or the
// English one when none holds that; empty when none holds either.
QString findUserGuide(const QString& programFolder, Language language);

// The program's version, as the project gives it: "1.2.0".
QString designerVersion();

}  // namespace kalvitra::designer
