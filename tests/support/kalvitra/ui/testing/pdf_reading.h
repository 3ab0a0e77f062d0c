#pragma once

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

// Reading a printed page back the way a reader of the PDF gets it: its text,
// and each word with its place on the page (pdftotext from poppler-utils,
// whose path the build passes in as KALVITRA_PDFTOTEXT).

#ifndef KALVITRA_PDFTOTEXT
#error "KALVITRA_PDFTOTEXT must name the pdftotext program"
#endif

namespace kalvitra::ui::testing {

struct Word {
    QString text;
    QRectF box;
};

// The page's text as a reader of the PDF gets it. The embedded Chinese face
// draws some characters with the glyph of a look-alike radical (心 and ⼼),
// and the PDF maps such a glyph back to the radical; compatibility
// normalisation folds those back into the characters shown (and full-width
// punctuation into ASCII, so expected texts are folded the same way).
inline QString runPdftotext(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KALVITRA_PDFTOTEXT), arguments);
    if (!process.waitForFinished(30'000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// Every word on the page with its box, in points from the page's top left.
inline QList<Word> wordsOf(const QString& pdf, QSizeF* pageSize) {
    const QString html = runPdftotext({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression page(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    if (const auto match = page.match(html); match.hasMatch()) {
        *pageSize = QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        words.append({match.captured(5),
                      QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                             QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()))});
    }
    return words;
}

inline QPointF centreOf(const QList<Word>& words, const QString& text) {
    for (const Word& word : words) {
        if (word.text == text) {
            return word.box.center();
        }
    }
    return {-1, -1};
}

// Whether the page shows the window scaled to fit with its proportions:
// distances between button captions keep the window's ratio, the window
// fills at least half the page across or down, and nothing leaves the page.
// Returns what is wrong, or nothing.
inline std::optional<QString> fitProblem(const QList<Word>& words, const QSizeF& page) {
    if (page.width() <= 0 || page.height() <= 0) {
        return QStringLiteral("no page size in the PDF");
    }
    // Button centres on the window: 打印 (332.5, 492.5), 退出 (564.5, 492.5),
    // 级厚 (536.5, 156.5).
    const QPointF print = centreOf(words, QStringLiteral("打印"));
    const QPointF exit = centreOf(words, QStringLiteral("退出"));
    const QPointF thickness = centreOf(words, QStringLiteral("级厚"));
    const double across = exit.x() - print.x();
    const double down = exit.y() - thickness.y();
    if (across <= 0 || down <= 0) {
        return QStringLiteral("打印, 退出 and 级厚 are not where the window has them");
    }
    if (qAbs(across / down - 232.0 / 336.0) >= 0.02) {
        return QStringLiteral("proportions changed: %1 across / %2 down").arg(across).arg(down);
    }
    // Fitted: the design's 688 pixels fill at least half the page's width or
    // its 527 pixels half its height.
    const double scale = across / 232.0;
    if (!(688 * scale > page.width() / 2 || 527 * scale > page.height() / 2)) {
        return QStringLiteral("the window fills too little of the page (scale %1)").arg(scale);
    }
    for (const Word& word : words) {
        if (!QRectF(QPointF(0, 0), page).contains(word.box)) {
            return QStringLiteral("'%1' leaves the page").arg(word.text);
        }
    }
    return std::nullopt;
}

}  // namespace kalvitra::ui::testing
