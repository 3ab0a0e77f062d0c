#include "kalvitra/ui/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QStringList>
#include <cmath>

namespace kalvitra::ui {
namespace {

// The dialog font of the design: Windows' "MS Sans Serif", so that every
// caption goes through the same substitution.
const QString kDialogFace = QStringLiteral("MS Sans Serif");
const QString kBannerFace = QStringLiteral("幼圆");

// Faces whose Han glyphs follow the mainland Chinese standard, best first.
// The Japanese, Korean and traditional variants of the same families are
// deliberately absent. Windows brings its own Chinese UI faces, which a
// Chinese Windows desktop always has; the others are found on Windows only
// where someone installed them.
const QStringList kSimplifiedChineseFaces = {
#ifdef Q_OS_WIN
    QStringLiteral("Microsoft YaHei"),     QStringLiteral("SimSun"),
#endif
    QStringLiteral("Noto Sans CJK SC"),    QStringLiteral("Source Han Sans SC"),
    QStringLiteral("Noto Serif CJK SC"),   QStringLiteral("Source Han Serif SC"),
    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
};

constexpr double kDesignDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

}  // namespace

QString simplifiedChineseFace() {
    static const QString face = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate : kSimplifiedChineseFaces) {
            if (installed.contains(candidate, Qt::CaseInsensitive)) {
                return candidate;
            }
        }
        return QString();
    }();
    return face;
}

// The face the platform resolves its default font to, when it is a face for
// Latin text only; a CJK face there would draw Chinese in its own forms.
QString latinFace() {
    const QFont platformDefault = QApplication::font();
    const QString resolved = QFontInfo(platformDefault).family();
    if (QRawFont::fromFont(platformDefault).supportsCharacter(QChar(u'中'))) {
        return {};
    }
    return resolved;
}

void installFontSubstitutions() {
    const QString chinese = simplifiedChineseFace();
    if (chinese.isEmpty()) {
        return;
    }
    // Latin letters and digits from the Latin face, Chinese characters and
    // full-width punctuation from the Chinese one. Latin from a CJK face
    // would also do on screen, but its digits after a letter become glyph
    // variants that a printed PDF cannot map back to text.
    QStringList replacement{latinFace(), chinese};
    replacement.removeAll(QString());
    for (const QString& family : {kBannerFace, kDialogFace}) {
        if (QFont::substitutes(family).isEmpty()) {
            QFont::insertSubstitutions(family, replacement);
        }
    }
    // Text in the toolkit's default font (its own dialogs) at least gets its
    // Chinese characters in Simplified forms.
    const QString platformFamily = QApplication::font().family();
    if (!QFont::substitutes(platformFamily).contains(chinese)) {
        QFont::insertSubstitution(platformFamily, chinese);
    }
}

QFont fontFor(Look look) {
    QFont font = QApplication::font();
    switch (look) {
        case Look::Plain:
            // The dialog font the window was drawn for: its fields were sized
            // for the results (834.9353444385) at this size.
            font.setFamilies({kDialogFace});
            font.setPointSizeF(8.25);
            break;
        case Look::Banner:
            font.setFamilies({kBannerFace});
            font.setPointSizeF(12);
            font.setWeight(QFont::Bold);
            font.setItalic(true);
            break;
        case Look::Heading:
            font.setFamilies({kDialogFace});
            font.setPointSizeF(9.75);
            font.setWeight(QFont::Bold);
            break;
    }
    return font;
}

QFont designPixelFont(Look look) {
    QFont font = fontFor(look);
    if (font.pointSizeF() > 0) {
        font.setPixelSize(
            static_cast<int>(std::lround(font.pointSizeF() * kDesignDotsPerInch / kPointsPerInch)));
    }
    return font;
}

}  // namespace kalvitra::ui
