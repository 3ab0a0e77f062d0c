// Hostile input at the window: texts of a million characters, control
// characters, full-width digits, right-to-left marks and emoji, typed and
// pasted into the fields. Every calculation button must then end exactly as
// the calculation core ends on the same texts (same field texts, same error
// kind, nothing cut or lost), and the window must still answer afterwards.

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <optional>
#include <string>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/ui/commands.h"
#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

constexpr qsizetype kMillion = 1'000'000;

// The calculation buttons in the order they are pressed, with the actions
// behind them. The net area comes first as well, so that a text pasted into
// the gross area is read before the gross-area button replaces it.
const std::pair<std::string_view, Action> kPresses[] = {
    {"Command3", Action::NetArea}, {"jh", Action::StageThicknesses},
    {"jmj", Action::GrossArea},    {"Command3", Action::NetArea},
    {"zdh", Action::TotalStack},   {"铁心重量", Action::CoreWeight}};

QString repeated(const QString& piece, qsizetype length) {
    QString text;
    text.reserve(length + piece.size());
    while (text.size() < length) {
        text += piece;
    }
    text.truncate(length);
    return text;
}

// A million characters that end in a number: what reads is the number.
QString paddedTo(const QString& fill, const QString& number) {
    return repeated(fill, kMillion - number.size()) + number;
}

Sheet sheetOf(const FieldTexts& texts) {
    Sheet sheet;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        sheet.setText(fieldAt(i), texts[i].toStdString());
    }
    return sheet;
}

// Select all, then paste, as a designer does with Ctrl+A, Ctrl+V.
void pasteInto(QLineEdit* field, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(field, QKeySequence::Paste);
}

// A key that carries a control character as its text, as some keyboards
// and remote terminals send them. QTest's key helpers take printable keys only.
void typeControlCharacter(QLineEdit* field, char control) {
    const QString text(QChar::fromLatin1(control));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QApplication::sendEvent(field, &release);
}

}  // namespace

class HostileInputTest : public QObject {
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

    void pastedTextIsKeptWholeAndEveryButtonAgreesWithTheCore_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        // The errors the presses end in, in order. The first press always
        // finds the gross area empty: a type mismatch.
        QTest::addColumn<QString>("errors");
        const QString clean = QStringLiteral("type-mismatch");
        const QString overflow = QStringLiteral("type-mismatch overflow");
        const QString negativeRoot = QStringLiteral("type-mismatch invalid-argument");
        // A million characters, one field at a time, among the six-stage core.
        QTest::newRow("million zeros before the diameter")
            << "D" << paddedTo(QStringLiteral("0"), QStringLiteral("200")) << clean;
        QTest::newRow("million-digit diameter (overflow)")
            << "D" << QStringLiteral("1") + repeated(QStringLiteral("0"), kMillion - 1) << overflow;
        QTest::newRow("million blanks before a width")
            << "PK1" << paddedTo(QStringLiteral(" "), QStringLiteral("190")) << clean;
        QTest::newRow("million Chinese characters in the model")
            << "Text1" << repeated(QStringLiteral("铁心型号"), kMillion) << clean;
        QTest::newRow("stacking factor and a million letters")
            << "dpxs" << QStringLiteral("0.97") + repeated(QStringLiteral("x"), kMillion - 4)
            << clean;
        QTest::newRow("million-digit grouped gross area (overflow)")
            << "txmj" << QStringLiteral("1") + repeated(QStringLiteral(",000"), kMillion / 4 - 1)
            << QStringLiteral("overflow");
        QTest::newRow("million full-width digits as the limb count")
            << "Z" << repeated(QStringLiteral("３"), kMillion) << clean;
        // Control characters: what stops a number, what the readers skip.
        QTest::newRow("start of heading before the diameter") << "D"
                                                              << QStringLiteral(
                                                                     "\x01"
                                                                     "200")
                                                              << negativeRoot;
        QTest::newRow("NUL inside the diameter")
            << "D" << QStringLiteral("2") + QChar(0) + "00" << negativeRoot;
        QTest::newRow("escape sequence before a width")
            << "PK2" << QStringLiteral("\x1b[31m175") << clean;
        QTest::newRow("bell after a width") << "PK3" << QStringLiteral("155\x07") << clean;
        QTest::newRow("tab inside the window height") << "H" << QStringLiteral("6\t00") << clean;
        QTest::newRow("carriage return inside the centre distance")
            << "M" << QStringLiteral("4\r20") << clean;
        QTest::newRow("line feed inside the diameter") << "D" << QStringLiteral("2\n00") << clean;
        QTest::newRow("delete character in the density") << "MD"
                                                         << QStringLiteral(
                                                                "7.6\x7f"
                                                                "5")
                                                         << clean;
        // Digits that are not ASCII digits read as no number at all.
        QTest::newRow("full-width diameter") << "D" << QStringLiteral("２００") << negativeRoot;
        QTest::newRow("full-width centre width") << "PK1" << QStringLiteral("１９０") << clean;
        QTest::newRow("Arabic-Indic digits") << "H" << QStringLiteral("٦٠٠") << clean;
        // Marks of writing direction, before and after a number.
        QTest::newRow("right-to-left mark before the diameter")
            << "D" << QStringLiteral("\u200F200") << negativeRoot;
        QTest::newRow("right-to-left mark after the diameter")
            << "D" << QStringLiteral("200\u200F") << clean;
        QTest::newRow("right-to-left override in a width")
            << "PK2" << QStringLiteral("\u202E571") << clean;
        QTest::newRow("Hebrew text in the job number")
            << "Text2" << QStringLiteral("עבודה 17") << clean;
        // Emoji and characters beyond the basic plane.
        QTest::newRow("emoji after a width") << "PK2" << QStringLiteral("175😀") << clean;
        QTest::newRow("emoji as the diameter") << "D" << QStringLiteral("🔩🔩") << negativeRoot;
        QTest::newRow("emoji in a thickness") << "jh1" << QStringLiteral("62.45🧲") << clean;
        QTest::newRow("emoji as the gross area (type mismatch)")
            << "txmj" << QStringLiteral("289.499😀") << clean;
        // Numbers on the edges of the double range.
        QTest::newRow("largest double as the diameter")
            << "D" << QStringLiteral("1.7976931348623157E+308") << overflow;
        QTest::newRow("exponent beyond the range as the height")
            << "H" << QStringLiteral("1E+400") << overflow;
        QTest::newRow("tiny stacking factor") << "dpxs" << QStringLiteral("4.9E-324") << clean;
    }

    // The field holds exactly what was pasted, and every calculation button
    // leaves the fields and the report the core gives for the same texts.
    void pastedTextIsKeptWholeAndEveryButtonAgreesWithTheCore() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, errors);
        typeSixStageInputs(*window_);
        QLineEdit* edit = fieldNamed(*window_, field.toStdString());
        QVERIFY(edit != nullptr);
        pasteInto(edit, text);
        QCOMPARE(edit->text().size(), text.size());
        QVERIFY(edit->text() == text);  // not QCOMPARE: a failure would print a million characters

        QCOMPARE(pressEveryButtonAndCompare(), errors);
        QVERIFY(stillResponds());
    }

    // Typed rather than pasted: keys for what a keyboard has, the input
    // method for the rest. Control keys type nothing, as on any keyboard.
    void typedTextAgreesWithTheCore() {
        typeSixStageInputs(*window_);
        typeInto(*window_, "D", QStringLiteral("２００ 200"));
        typeInto(*window_, "PK2", QStringLiteral("\u200F175😀"));
        typeInto(*window_, "PK3", QStringLiteral("155"));
        for (char control : {'\x01', '\x07', '\x1b', '\x7f'}) {
            typeControlCharacter(fieldNamed(*window_, "PK3"), control);
        }
        typeText(fieldNamed(*window_, "PK3"), QStringLiteral("9"));
        typeInto(*window_, "Text1", repeated(QStringLiteral("型号S11-"), 2000));
        QCOMPARE(text(*window_, "D"), QStringLiteral("２００ 200"));
        QCOMPARE(text(*window_, "PK2"), QStringLiteral("\u200F175😀"));
        QCOMPARE(text(*window_, "Text1").size(), 2000);
        // Full-width digits are no number: the diameter reads as 0.
        QCOMPARE(pressEveryButtonAndCompare(), QStringLiteral("type-mismatch invalid-argument"));
        QVERIFY(stillResponds());
    }

    // A million characters in every field at once, all buttons, twice: the
    // window keeps every text whole and stays responsive.
    void aMillionCharactersInEveryField() {
        QElapsedTimer clock;
        clock.start();
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            const QString digit = QString::number(i % 9 + 1);
            pasteInto(window_->field(fieldAt(i)), paddedTo(QStringLiteral(" "), digit));
        }
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            QCOMPARE(window_->field(fieldAt(i))->text().size(), kMillion);
        }
        const QString errors = pressEveryButtonAndCompare();
        QVERIFY(!errors.contains(QLatin1Char('<')));
        QCOMPARE(pressEveryButtonAndCompare(), errors);
        QVERIFY(stillResponds());
        qInfo("a million characters in all %zu fields, ten presses: %lld ms", kFieldCount,
              static_cast<long long>(clock.elapsed()));
    }

private:
    // Presses each calculation button in turn and checks the window against
    // the core run on the texts the window held just before. Returns the
    // kinds of the errors reported, in order.
    QString pressEveryButtonAndCompare() {
        QStringList errors;
        for (const auto& [button, action] : kPresses) {
            const QString buttonName = QString::fromUtf8(button.data(), qsizetype(button.size()));
            Sheet expected = sheetOf(window_->fieldTexts());
            std::optional<ErrorKind> expectedError;
            try {
                runAction(action, expected);
            } catch (const CalcError& error) {
                expectedError = error.kind();
                errors << QLatin1StringView(errorKindName(error.kind()));
            }

            const std::size_t reportsBefore = recorder_->reports().size();
            press(*window_, button);
            const FieldTexts after = window_->fieldTexts();
            for (std::size_t i = 0; i < kFieldCount; ++i) {
                if (after[i].toStdString() != expected.textRef(fieldAt(i))) {
                    qWarning("after %s the field %s differs from the core", qPrintable(buttonName),
                             fieldName(fieldAt(i)).data());
                    return QStringLiteral("<differs from the core>");
                }
            }
            const auto& reports = recorder_->reports();
            const std::size_t expectedReports = reportsBefore + (expectedError ? 1 : 0);
            if (reports.size() != expectedReports ||
                (expectedError &&
                 !reports.back().message.contains(errorKindText(*expectedError)))) {
                qWarning("after %s the window's report differs from the core's error",
                         qPrintable(buttonName));
                return QStringLiteral("<report differs from the core>");
            }
        }
        return errors.join(QLatin1Char(' '));
    }

    // The event loop still runs: a timer fires, a key types, and a button
    // press computes, each promptly.
    bool stillResponds() {
        QElapsedTimer clock;
        clock.start();
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        if (!QTest::qWaitFor([&] { return fired; }, 5000)) {
            qWarning("the event loop did not run a timer within 5 s");
            return false;
        }
        QLineEdit* jobNumber = window_->field(Field::Text2);
        typeInto(jobNumber, QStringLiteral("ok"));
        if (jobNumber->text() != QStringLiteral("ok")) {
            qWarning("typing no longer reaches the fields");
            return false;
        }
        typeInto(*window_, "jh1", QStringLiteral("10"));
        typeInto(*window_, "jh2", QStringLiteral("1"));
        typeInto(*window_, "jh22", QStringLiteral("2"));
        for (Field field : {Field::jh3, Field::jh4, Field::jh5, Field::jh6, Field::jh7, Field::jh8,
                            Field::jh9, Field::jh32, Field::jh42, Field::jh52, Field::jh62,
                            Field::jh72, Field::jh82, Field::jh92}) {
            window_->field(field)->clear();
        }
        press(*window_, "zdh");
        if (text(*window_, "dh") != QStringLiteral("13")) {
            qWarning("the total stack button no longer computes");
            return false;
        }
        qInfo("responded in %lld ms", static_cast<long long>(clock.elapsed()));
        return true;
    }

    std::unique_ptr<CalculatorWindow> window_;
    std::unique_ptr<ReportRecorder> recorder_;
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
