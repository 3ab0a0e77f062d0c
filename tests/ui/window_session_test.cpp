// A designer at the window: typing, Tab, the buttons, mistakes and their
// reports, and text far longer than any number.

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>

#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

// Types along the focus chain: a field, Tab, the next one.
void typeAndTab(const QString& typed) {
    QWidget* focused = QApplication::focusWidget();
    typeText(focused, typed);
    QTest::keyClick(focused, Qt::Key_Tab);
}

QString focusedName() {
    const QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QString();
}

// Fields as the six-stage core leaves them after the thickness button.
QString longText(qsizetype length) {
    QString text;
    text.reserve(length);
    const QString pattern = QStringLiteral("铁心0123456789 abc，");
    while (text.size() < length) {
        text += pattern;
    }
    text.truncate(length);
    return text;
}

}  // namespace

class WindowSessionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        window_ = std::make_unique<CalculatorWindow>();
        recorder_ = std::make_unique<ReportRecorder>(*window_);
        QVERIFY(showAndActivate(*window_));
    }
    void cleanup() {
        recorder_.reset();
        window_.reset();
    }

    // The worked six-stage core, typed along the Tab chain and calculated
    // with the mouse, every result read off its field.
    void aDesignersSession() {
        QCOMPARE(focusedName(), QStringLiteral("Text1"));
        typeAndTab(QStringLiteral("S11-M-1000/10 样机"));
        typeAndTab(QStringLiteral("2024-017"));
        QCOMPARE(focusedName(), QStringLiteral("D"));
        typeAndTab(QStringLiteral("200"));
        typeAndTab(QStringLiteral("6"));  // TXJS, read by no calculation
        QCOMPARE(focusedName(), QStringLiteral("PK1"));
        typeAndTab(QStringLiteral("190"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // past txz
        QCOMPARE(focusedName(), QStringLiteral("H"));
        typeAndTab(QStringLiteral("600"));
        for (const char* width : {"175", "155", "130", "100", "65"}) {
            typeAndTab(QString::fromLatin1(width));
        }
        QCOMPARE(focusedName(), QStringLiteral("PK7"));

        press(*window_, "jh");
        for (const auto& [field, expected] : worked_example::kThicknesses) {
            QCOMPARE(text(*window_, fieldName(field)), QString::fromUtf8(expected.data()));
        }

        typeInto(*window_, "dpxs", QStringLiteral("0.96"));
        press(*window_, "jmj");
        QCOMPARE(text(*window_, "txmj"), QStringLiteral("289.499"));
        press(*window_, "Command3");
        QCOMPARE(text(*window_, "txjmj"), QStringLiteral("277.91904"));
        press(*window_, "zdh");
        QCOMPARE(text(*window_, "dh"), QStringLiteral("189.15"));

        typeInto(*window_, "M", QStringLiteral("420"));
        typeInto(*window_, "Z", QStringLiteral("3"));
        typeInto(*window_, "dpxs", QStringLiteral("0.97"));
        QCOMPARE(text(*window_, "MD"), QStringLiteral("7.65"));
        press(*window_, "铁心重量");
        QCOMPARE(text(*window_, "txz"), QStringLiteral("834.9353444385"));

        // The free-text fields are as typed; with unchanged inputs a second
        // round of presses gives the same texts as the first.
        QCOMPARE(text(*window_, "Text1"), QStringLiteral("S11-M-1000/10 样机"));
        QCOMPARE(text(*window_, "TXJS"), QStringLiteral("6"));
        const auto pressAll = [this] {
            for (std::string_view button : {"jh", "jmj", "Command3", "zdh", "铁心重量"}) {
                press(*window_, button);
            }
        };
        pressAll();
        QCOMPARE(text(*window_, "txjmj"), QStringLiteral("280.81403"));
        const FieldTexts firstRound = window_->fieldTexts();
        pressAll();
        QCOMPARE(window_->fieldTexts(), firstRound);
        QVERIFY(recorder_->reports().empty());
    }

    // Errors of each kind the window can meet: reported in Chinese with their
    // kind, fields written before the error kept, the window still there.
    void aFailedCalculationIsReportedAndTheWindowCarriesOn_data() {
        QTest::addColumn<QString>("setUp");  // field=text;field=text
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("changed");  // field=text written before the error
        QTest::addColumn<QString>("culprit");  // the field the report points at, if any
        QTest::addColumn<QString>("detail");   // where it stopped and why, in Chinese

        QTest::newRow("width larger than the diameter")
            << QStringLiteral("D=200;PK1=190;PK2=175;PK3=250;jh1=old;jh2=old;jh3=old;jh22=old")
            << QStringLiteral("jh") << QStringLiteral("无效参数")
            << QStringLiteral("jh1=0062.45;jh2=0017.19") << QStringLiteral("第三级 片宽")
            << QStringLiteral("第三级：开平方：负数不能开平方（片宽大于铁心直径）");
        QTest::newRow("gross area with a unit behind it")
            << QStringLiteral("txmj=289.499 cm2;dpxs=0.96;txjmj=old") << QStringLiteral("Command3")
            << QStringLiteral("类型不匹配") << QString() << QStringLiteral("截面积(cm)")
            << QStringLiteral("截面积(cm)：不是一个数");
        QTest::newRow("net area before the gross area")
            << QString() << QStringLiteral("Command3") << QStringLiteral("类型不匹配") << QString()
            << QStringLiteral("截面积(cm)") << QStringLiteral("截面积(cm)：不是一个数");
        QTest::newRow("diameter beyond the number range")
            << QStringLiteral("D=1E400;PK1=190;jh1=old") << QStringLiteral("jh")
            << QStringLiteral("溢出") << QString() << QStringLiteral("铁心直径(mm)")
            << QStringLiteral("铁心直径(mm)：数值超出计算范围");
        QTest::newRow("weight beyond the number range")
            << QStringLiteral("M=1E300;Z=1E300;txz=old") << QStringLiteral("铁心重量")
            << QStringLiteral("溢出") << QString() << QString()
            << QStringLiteral("铁心重量，第一级：外框：数值超出计算范围");
    }

    void aFailedCalculationIsReportedAndTheWindowCarriesOn() {
        QFETCH(QString, setUp);
        QFETCH(QString, button);
        QFETCH(QString, kind);
        QFETCH(QString, changed);
        QFETCH(QString, culprit);
        QFETCH(QString, detail);
        for (const QString& assignment : setUp.split(u';', Qt::SkipEmptyParts)) {
            const QStringList parts = assignment.split(u'=');
            typeInto(*window_, parts[0].toStdString(), parts[1]);
        }
        FieldTexts expected = window_->fieldTexts();
        for (const QString& assignment : changed.split(u';', Qt::SkipEmptyParts)) {
            const QStringList parts = assignment.split(u'=');
            expected[indexOf(*fieldByName(parts[0].toStdString()))] = parts[1];
        }

        press(*window_, button.toStdString());

        QCOMPARE(recorder_->reports().size(), std::size_t{1});
        const RecordedReport& report = recorder_->reports().front();
        QVERIFY2(report.message.contains(kind), report.message.toUtf8().constData());
        const QString pointedAt = QStringLiteral("出错的字段：") + culprit + u'\n';
        QVERIFY2(culprit.isEmpty() ? !report.message.contains(QStringLiteral("出错的字段"))
                                   : report.message.contains(pointedAt),
                 report.message.toUtf8().constData());
        QVERIFY2(report.message.contains(QStringLiteral("详细信息：") + detail + u'\n'),
                 report.message.toUtf8().constData());
        QCOMPARE(report.textsWhileShown, expected);
        QCOMPARE(window_->fieldTexts(), expected);
        QVERIFY(window_->isVisible());
    }

    // The real message box: the earlier results are on screen while it is
    // up; once it is closed the designer mends the width and goes on.
    void theMessageBoxLeavesTheWindowAndItsResults() {
        window_->setErrorReporter(&CalculatorWindow::showErrorBox);
        typeSixStageInputs(*window_);
        typeInto(*window_, "PK3", QStringLiteral("250"));
        for (const char* stale : {"jh3", "jh4", "jh22"}) {
            typeInto(*window_, stale, QStringLiteral("旧值"));
        }

        QString boxText;
        QString title;
        FieldTexts whileShown;
        bool windowVisibleBehindBox = false;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            closer.stop();
            boxText = box->text();
            title = box->windowTitle();
            whileShown = window_->fieldTexts();
            windowVisibleBehindBox = window_->isVisible() && box->isModal();
            QTest::keyClick(box, Qt::Key_Enter);
        });
        closer.start();
        press(*window_, "jh");

        QVERIFY2(boxText.contains(QStringLiteral("无效参数")), boxText.toUtf8().constData());
        QVERIFY(boxText.contains(QStringLiteral("片宽")));
        QVERIFY(windowVisibleBehindBox);
        QCOMPARE(whileShown[indexOf(Field::jh1)], QStringLiteral("0062.45"));
        QCOMPARE(whileShown[indexOf(Field::jh2)], QStringLiteral("0017.19"));
        QCOMPARE(whileShown[indexOf(Field::jh3)], QStringLiteral("旧值"));
        QCOMPARE(whileShown, window_->fieldTexts());

        QVERIFY(window_->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        typeInto(*window_, "PK3", QStringLiteral("155"));
        calculateSixStageCore(*window_);
        for (const auto& [field, expected] : worked_example::kThicknesses) {
            QCOMPARE(text(*window_, fieldName(field)), QString::fromUtf8(expected.data()));
        }
        QCOMPARE(text(*window_, "txz"), QStringLiteral("834.9353444385"));
    }

    void clearAndSaveChangeNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("清除") << QStringLiteral("Command2");
        QTest::newRow("保存") << QStringLiteral("保存");
    }

    void clearAndSaveChangeNothing() {
        QFETCH(QString, button);
        calculateSixStageCore(*window_);
        typeInto(*window_, "Text1", QStringLiteral("型号"));
        const FieldTexts before = window_->fieldTexts();
        press(*window_, button.toStdString());
        QCOMPARE(window_->fieldTexts(), before);
        QVERIFY(recorder_->reports().empty());
        QVERIFY(window_->isVisible());
    }

    void enterAndEscapeInAFieldStartNothing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        for (const char* field : {"Text1", "D", "PK1", "txmj", "dh"}) {
            for (auto [keyName, key] :
                 {std::pair{"Return", Qt::Key_Return}, std::pair{"Enter", Qt::Key_Enter},
                  std::pair{"Escape", Qt::Key_Escape}}) {
                const QByteArray row = QByteArray(field) + ' ' + keyName;
                QTest::newRow(row.constData()) << QString::fromLatin1(field) << int(key);
            }
        }
    }

    void enterAndEscapeInAFieldStartNothing() {
        QFETCH(QString, field);
        QFETCH(int, key);
        typeSixStageInputs(*window_);
        QLineEdit* edit = fieldNamed(*window_, field.toStdString());
        QTest::mouseClick(edit, Qt::LeftButton);
        const FieldTexts before = window_->fieldTexts();
        QTest::keyClick(edit, static_cast<Qt::Key>(key));
        QCOMPARE(window_->fieldTexts(), before);
        QVERIFY(recorder_->reports().empty());
        QVERIFY(window_->isVisible());
    }

    // A field holds any amount of text: pasted, typed on, read by the
    // calculations in full, and never cut at the toolkit's 32767 characters.
    void veryLongTextIsKeptWhole() {
        const QString pasted = longText(100'000);
        QGuiApplication::clipboard()->setText(pasted);
        QLineEdit* model = window_->field(Field::Text1);
        QTest::mouseClick(model, Qt::LeftButton);
        QTest::keySequence(model, QKeySequence::Paste);
        typeText(model, QStringLiteral("-末"));
        QCOMPARE(model->text().size(), pasted.size() + 2);
        QCOMPARE(model->text(), pasted + QStringLiteral("-末"));
        QCOMPARE(window_->sheet().text(Field::Text1),
                 (pasted + QStringLiteral("-末")).toStdString());

        // A width followed by a long tail of blanks still reads as the width.
        typeInto(*window_, "D", QStringLiteral("200"));
        window_->field(Field::PK1)->setText(QStringLiteral("190") + QString(100'000, u' '));
        press(*window_, "jh");
        QCOMPARE(text(*window_, "jh1"), QStringLiteral("0062.45"));
        QCOMPARE(window_->field(Field::PK1)->text().size(), 100'003);
        QCOMPARE(model->text().size(), pasted.size() + 2);
        QVERIFY(recorder_->reports().empty());
    }

    void exitEndsTheProgramAtOnce() {
        calculateSixStageCore(*window_);
        press(*window_, "exit");
        QVERIFY(!window_->isVisible());
        QVERIFY(recorder_->reports().empty());
    }

    // Without a print server or a default queue the request cannot print:
    // that is reported, and the sheet stays as it was.
    void printingWithoutAPrinterIsReported() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("this machine has a default printer; pressing 打印 would print");
        }
        calculateSixStageCore(*window_);
        const FieldTexts before = window_->fieldTexts();
        press(*window_, "打印");
        QCOMPARE(recorder_->reports().size(), std::size_t{1});
        const QString message = recorder_->reports().front().message;
        QVERIFY2(message.contains(QStringLiteral("没有默认打印机")), message.toUtf8().constData());
        QCOMPARE(window_->fieldTexts(), before);
        QVERIFY(window_->isVisible());
    }

    // Each kind of error reads differently, in Chinese.
    void everyErrorKindHasItsOwnChineseName() {
        const QList<ErrorKind> kinds = {ErrorKind::TypeMismatch, ErrorKind::Overflow,
                                        ErrorKind::DivisionByZero, ErrorKind::InvalidOperation,
                                        ErrorKind::InvalidArgument};
        QSet<QString> names;
        for (ErrorKind kind : kinds) {
            const QString message = calculationErrorMessage(
                CalcError(kind, "stage 3 (PK3)", Field::PK3, {CalcStep::StageSquares, 3}));
            const QString name = errorKindText(kind);
            QVERIFY(message.contains(name));
            QVERIFY(message.contains(QStringLiteral("第三级：D² − 片宽²：")));
            QVERIFY(std::any_of(name.cbegin(), name.cend(),
                                [](QChar c) { return c.script() == QChar::Script_Han; }));
            names.insert(name);
        }
        QCOMPARE(names.size(), kinds.size());
    }

private:
    std::unique_ptr<CalculatorWindow> window_;
    std::unique_ptr<ReportRecorder> recorder_;
};

QTEST_MAIN(WindowSessionTest)
#include "window_session_test.moc"
