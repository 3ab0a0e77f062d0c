// The printed window, printed into PDF files through the same painting as
// the printer, and read back with pdftotext.

#include "kalvitra/ui/print.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

struct Word {
    QString text;
    QRectF box;
};

// Prints the window's sheet into a PDF file, through a printer or a writer.
std::optional<QString> printToPdf(const Form1& window, const QString& path, bool throughPrinter,
                                  QPageLayout::Orientation orientation) {
    std::unique_ptr<QPagedPaintDevice> device;
    if (throughPrinter) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        device = std::move(printer);
    } else {
        device = std::make_unique<QPdfWriter>(path);
    }
    device->setPageOrientation(orientation);
    return printSheet(*device, window.fieldTexts(), window.palette());
}

// The page's text as a reader of the PDF gets it. The embedded Chinese face
// draws some characters with the glyph of a look-alike radical (心 and ⼼),
// and the PDF maps such a glyph back to the radical; compatibility
// normalisation folds those back into the characters shown (and full-width
// punctuation into ASCII, so expected texts are folded the same way).
QString runPdftotext(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KALVITRA_PDFTOTEXT), arguments);
    if (!process.waitForFinished(30'000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// Every word on the page with its box, in points from the page's top left.
QList<Word> wordsOf(const QString& pdf, QSizeF* pageSize) {
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

QPointF centreOf(const QList<Word>& words, const QString& text) {
    for (const Word& word : words) {
        if (word.text == text) {
            return word.box.center();
        }
    }
    return {-1, -1};
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!QFileInfo::exists(QStringLiteral(KALVITRA_PDFTOTEXT))) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        QVERIFY(directory_.isValid());
    }

    void init() {
        window_ = std::make_unique<Form1>();
        QVERIFY(showAndActivate(*window_));
    }

    void cleanup() { window_.reset(); }

    void devices_data() {
        QTest::addColumn<bool>("throughPrinter");
        QTest::addColumn<int>("orientation");
        QTest::newRow("printer, portrait") << true << int(QPageLayout::Portrait);
        QTest::newRow("printer, landscape") << true << int(QPageLayout::Landscape);
        QTest::newRow("pdf writer, portrait") << false << int(QPageLayout::Portrait);
    }

    // The page carries every caption and every text the fields hold, the
    // worked example's results among them, as text rather than a picture.
    void thePageShowsTheFieldsAsTheyStand_data() { devices_data(); }
    void thePageShowsTheFieldsAsTheyStand() {
        QFETCH(bool, throughPrinter);
        QFETCH(int, orientation);
        calculateSixStageCore(*window_);
        typeInto(*window_, "Text1", QStringLiteral("S11-1000"));
        const QString pdf = directory_.filePath(QStringLiteral("sheet.pdf"));
        const auto problem = printToPdf(*window_, pdf, throughPrinter,
                                        static_cast<QPageLayout::Orientation>(orientation));
        QVERIFY2(!problem, problem.value_or(QString()).toUtf8().constData());

        const QString printed = runPdftotext({pdf, QStringLiteral("-")});
        QVERIFY(!printed.isEmpty());
        QStringList expected = {QStringLiteral("S11-1000"),
                                QStringLiteral("7.65"),
                                QStringLiteral("834.9353444385"),
                                QStringLiteral("289.499"),
                                QStringLiteral("280.81403"),
                                QStringLiteral("189.15"),
                                QStringLiteral("铁心直径(mm)："),
                                QStringLiteral("Kalvitra"),
                                QStringLiteral("第九级"),
                                QStringLiteral("总叠厚（mm）"),
                                QStringLiteral("退出")};
        for (const char* thickness :
             {"0062.45", "0017.19", "0014.78", "0012.80", "0010.61", "0007.97", "17.19", "12.8"}) {
            expected << QString::fromLatin1(thickness);
        }
        for (const QString& shown : expected) {
            const QString text = shown.normalized(QString::NormalizationForm_KC);
            QVERIFY2(printed.contains(text),
                     qPrintable(text + QStringLiteral(" not in:\n") + printed));
        }
        QCOMPARE(printed.count(u'\f'), 1);  // one page
    }

    // Scaled to fit the page, with the window's proportions: distances
    // between captions keep their ratio, and nothing leaves the page.
    void thePageKeepsTheWindowsProportions_data() { devices_data(); }
    void thePageKeepsTheWindowsProportions() {
        QFETCH(bool, throughPrinter);
        QFETCH(int, orientation);
        const QString pdf = directory_.filePath(QStringLiteral("proportions.pdf"));
        QVERIFY(!printToPdf(*window_, pdf, throughPrinter,
                            static_cast<QPageLayout::Orientation>(orientation)));
        QSizeF page;
        const QList<Word> words = wordsOf(pdf, &page);
        QVERIFY(page.width() > 0);

        // Button centres on the window: 打印 (332.5, 492.5), 退出 (564.5, 492.5),
        // 级厚 (536.5, 156.5).
        const QPointF print = centreOf(words, QStringLiteral("打印"));
        const QPointF exit = centreOf(words, QStringLiteral("退出"));
        const QPointF thickness = centreOf(words, QStringLiteral("级厚"));
        const double across = exit.x() - print.x();
        const double down = exit.y() - thickness.y();
        QVERIFY(across > 0 && down > 0);
        QVERIFY2(qAbs(across / down - 232.0 / 336.0) < 0.02,
                 qPrintable(QStringLiteral("%1 / %2").arg(across).arg(down)));
        // Fitted: the design's 688 pixels fill at least half the page's width
        // or its 527 pixels half its height.
        const double scale = across / 232.0;
        QVERIFY(688 * scale > page.width() / 2 || 527 * scale > page.height() / 2);
        for (const Word& word : words) {
            QVERIFY2(QRectF(QPointF(0, 0), page).contains(word.box), qPrintable(word.text));
        }
    }

    // A field holding far more than its box can show prints its beginning,
    // clipped at the box, and the print stays quick.
    void longTextsPrintTheirBeginning() {
        const QString start = QStringLiteral("BEGIN");
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            window_->field(fieldAt(i))->setText(start + QString(100'000, u'x'));
        }
        const QString pdf = directory_.filePath(QStringLiteral("long.pdf"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!printToPdf(*window_, pdf, false, QPageLayout::Portrait));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        const QString printed = runPdftotext({pdf, QStringLiteral("-")});
        QCOMPARE(printed.count(start), int(kFieldCount));
    }

    void aDeviceThatCannotOpenIsReported() {
        QPdfWriter writer(directory_.filePath(QStringLiteral("no/such/folder/sheet.pdf")));
        const auto problem = printSheet(writer, window_->fieldTexts(), window_->palette());
        QVERIFY(problem.has_value());
        QVERIFY(problem->contains(QStringLiteral("打印")));
    }

private:
    QTemporaryDir directory_;
    std::unique_ptr<Form1> window_;
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
