#include "kalvitra/designer/help.h"

#include <QDir>
#include <QFileInfo>

namespace kalvitra::designer {

QString userGuideName(Language language) {
    return language == Language::Chinese ? QStringLiteral("user-guide.zh_CN.md")
                                         : QStringLiteral("user-guide.md");
}

QStringList userGuideFolders(const QString& programFolder) {
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("docs"))),
            QDir::cleanPath(program.filePath(QStringLiteral("../docs"))),
            QDir::cleanPath(program.filePath(QStringLiteral("../share/kalvitra")))};
}

QString findUserGuide(const QString& programFolder, Language language) {
    const QStringList folders = userGuideFolders(programFolder);
    for (const Language wanted : {language, Language::English}) {
        for (const QString& folder : folders) {
            const QFileInfo guide(QDir(folder).filePath(userGuideName(wanted)));
            if (guide.isFile()) {
                return guide.absoluteFilePath();
            }
        }
    }
    return {};
}

QString designerVersion() {
    return QStringLiteral(KALVITRA_DESIGNER_VERSION);
}

}  // namespace kalvitra::designer
