// The printed window, printed into PDF files through the same painting as
// the printer, and read back with pdftotext.

#include "kalvitra/ui/print.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "kalvitra/ui/testing/pdf_reading.h"
#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

// Prints the window's sheet into a PDF file, through a printer or a writer.
std::optional<QString> printToPdf(const CalculatorWindow& window, const QString& path,
                                  bool throughPrinter, QPageLayout::Orientation orientation) {
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
        window_ = std::make_unique<CalculatorWindow>();
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
        const std::optional<QString> problem = fitProblem(words, page);
        QVERIFY2(!problem, qPrintable(problem.value_or(QString())));
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
    std::unique_ptr<CalculatorWindow> window_;
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
