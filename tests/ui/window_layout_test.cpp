// The window as the designer sees it: every control with its name, kind,
// caption, place, colours and fonts; the focus order; the state at start.

#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextLayout>
#include <limits>

#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

const char* const kLabel = "QLabel";
const char* const kField = "QLineEdit";
const char* const kButton = "QPushButton";

struct ExpectedControl {
    QString name;
    const char* kind;
    QString caption;
    QRect pixels;
};

// Places in pixels of the 96 dpi design, from the window's drawing.
QList<ExpectedControl> expectedControls() {
    QList<ExpectedControl> controls = {
        {QStringLiteral("Label2"), kLabel, QStringLiteral("Kalvitra v1.02 "), {176, 24, 257, 33}},
        {QStringLiteral("Label3"), kLabel, QStringLiteral("产品型号："), {32, 88, 65, 17}},
        {QStringLiteral("Text1"), kField, QString(), {144, 88, 121, 25}},
        {QStringLiteral("Label1"), kLabel, QStringLiteral("工号："), {32, 128, 73, 17}},
        {QStringLiteral("Text2"), kField, QString(), {144, 120, 121, 25}},
        {QStringLiteral("Label19"), kLabel, QStringLiteral("硅钢片密度："), {368, 80, 89, 25}},
        {QStringLiteral("MD"), kField, QStringLiteral("7.65"), {464, 80, 65, 25}},
        {QStringLiteral("Label5"), kLabel, QStringLiteral("级数："), {376, 112, 65, 17}},
        {QStringLiteral("TXJS"), kField, QString(), {464, 112, 65, 25}},
        {QStringLiteral("Label4"), kLabel, QStringLiteral("铁心直径(mm)："), {32, 160, 97, 25}},
        {QStringLiteral("D"), kField, QString(), {160, 160, 89, 25}},
        {QStringLiteral("Label8"), kLabel, QStringLiteral("窗高(mm)："), {32, 200, 73, 25}},
        {QStringLiteral("H"), kField, QString(), {160, 200, 89, 25}},
        {QStringLiteral("Label18"), kLabel, QStringLiteral("中心距(mm)："), {32, 240, 81, 25}},
        {QStringLiteral("M"), kField, QString(), {160, 240, 89, 25}},
        {QStringLiteral("Label20"), kLabel, QStringLiteral("铁心柱数："), {32, 280, 81, 25}},
        {QStringLiteral("Z"), kField, QString(), {160, 280, 89, 25}},
        {QStringLiteral("Label7"), kLabel, QStringLiteral("叠片系数："), {32, 312, 81, 25}},
        {QStringLiteral("dpxs"), kField, QString(), {160, 312, 89, 25}},
        {QStringLiteral("铁心重量"), kButton, QStringLiteral("铁心重量(kg)："), {40, 352, 89, 25}},
        {QStringLiteral("txz"), kField, QString(), {144, 352, 105, 25}},
        {QStringLiteral("jmj"), kButton, QStringLiteral("截面积(cm):"), {40, 384, 89, 25}},
        {QStringLiteral("txmj"), kField, QString(), {144, 384, 105, 25}},
        {QStringLiteral("Command3"), kButton, QStringLiteral("净截面积(cm):"), {40, 416, 89, 25}},
        {QStringLiteral("txjmj"), kField, QString(), {144, 416, 105, 25}},
        {QStringLiteral("zdh"), kButton, QStringLiteral("总叠厚（mm）"), {40, 448, 89, 25}},
        {QStringLiteral("dh"), kField, QString(), {144, 448, 105, 25}},
        {QStringLiteral("Label6"), kLabel, QStringLiteral("片宽："), {376, 144, 49, 25}},
        {QStringLiteral("jh"), kButton, QStringLiteral("级厚"), {496, 144, 81, 25}},
        {QStringLiteral("保存"), kButton, QStringLiteral("保存"), {168, 480, 97, 25}},
        {QStringLiteral("打印"), kButton, QStringLiteral("打印"), {288, 480, 89, 25}},
        {QStringLiteral("Command2"), kButton, QStringLiteral("清除"), {400, 480, 97, 25}},
        {QStringLiteral("exit"), kButton, QStringLiteral("退出"), {520, 480, 89, 25}},
    };
    // The stage table: rows 32 pixels apart from 176.
    const QStringList ordinals = QStringLiteral("一 二 三 四 五 六 七 八 九").split(u' ');
    for (int stage = 1; stage <= 9; ++stage) {
        const int top = 176 + 32 * (stage - 1);
        const QString digit = QString::number(stage);
        controls.append({QStringLiteral("Label%1").arg(stage + 8), kLabel,
                         QStringLiteral("第%1级").arg(ordinals[stage - 1]),
                         QRect(304, top, 57, 25)});
        controls.append(
            {QStringLiteral("PK") + digit, kField, QString(), QRect(376, top, 105, 25)});
        controls.append({QStringLiteral("jh") + digit, kField, QString(), QRect(496, top, 65, 25)});
        if (stage > 1) {
            controls.append({QStringLiteral("jh%1").arg(stage * 10 + 2), kField, QString(),
                             QRect(584, top, 65, 25)});
        }
    }
    return controls;
}

// The focus order, one Tab after the other, as the designer's tab indices
// give it (not as the controls stand on the screen).
const QStringList kFocusOrder = [] {
    QStringList order = {QStringLiteral("Text1"), QStringLiteral("Text2"), QStringLiteral("D"),
                         QStringLiteral("TXJS"),  QStringLiteral("PK1"),   QStringLiteral("txz"),
                         QStringLiteral("H")};
    for (int stage = 2; stage <= 9; ++stage) {
        order << QStringLiteral("PK%1").arg(stage);
    }
    order << QStringLiteral("M") << QStringLiteral("MD") << QStringLiteral("Z");
    for (int stage = 1; stage <= 9; ++stage) {
        order << QStringLiteral("jh%1").arg(stage);
    }
    order << QStringLiteral("jh") << QStringLiteral("铁心重量") << QStringLiteral("保存")
          << QStringLiteral("Command2") << QStringLiteral("打印") << QStringLiteral("exit")
          << QStringLiteral("Command3") << QStringLiteral("txjmj") << QStringLiteral("dpxs")
          << QStringLiteral("jmj") << QStringLiteral("txmj");
    for (int stage = 2; stage <= 9; ++stage) {
        order << QStringLiteral("jh%1").arg(stage * 10 + 2);
    }
    order << QStringLiteral("zdh") << QStringLiteral("dh");
    return order;
}();

const QStringList kInputFields = QStringLiteral(
                                     "Text1 Text2 D TXJS H M Z MD dpxs PK1 PK2 PK3 PK4 PK5 PK6 "
                                     "PK7 PK8 PK9")
                                     .split(u' ');

QList<QWidget*> controlsOf(const CalculatorWindow& window) {
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel*>(child) || qobject_cast<QLineEdit*>(child) ||
            qobject_cast<QPushButton*>(child)) {
            controls << child;
        }
    }
    return controls;
}

QString captionOf(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        return button->text();
    }
    return qobject_cast<const QLineEdit*>(control)->text();
}

// A face whose Han glyphs follow the mainland standard: the SC members of
// the CJK families, WenQuanYi, or a face named for GB. On Windows, only
// Windows' own Chinese UI faces: a stock Windows has no other.
bool isSimplifiedChineseFace(const QString& family) {
#ifdef Q_OS_WIN
    static const QRegularExpression simplified(QStringLiteral("^(Microsoft YaHei|SimSun)$"));
#else
    static const QRegularExpression simplified(
        QStringLiteral("\\bSC\\b|WenQuanYi|\\bGB\\b|\\bCN\\b"),
        QRegularExpression::CaseInsensitiveOption);
#endif
    return simplified.match(family).hasMatch();
}

bool needsChineseGlyph(QChar character) {
    return character.unicode() >= 0x2E80;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { window_ = std::make_unique<CalculatorWindow>(); }
    void cleanup() { window_.reset(); }

    void theWindowItself() {
        QCOMPARE(window_->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(window_->isWindow());
        QCOMPARE(window_->size(), QSize(688, 527));
        // An ordinary resizable window: no fixed size.
        QCOMPARE(window_->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QVERIFY(window_->findChildren<QMenuBar*>().isEmpty());
        QVERIFY(window_->findChildren<QStatusBar*>().isEmpty());
        QCOMPARE(controlsOf(*window_).size(), 68);
    }

    void everyControl_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("pixels");
        const QList<ExpectedControl> controls = expectedControls();
        QCOMPARE(controls.size(), 68);
        for (const ExpectedControl& control : controls) {
            QTest::newRow(control.name.toUtf8().constData())
                << control.name << QString::fromLatin1(control.kind) << control.caption
                << control.pixels;
        }
    }

    void everyControl() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QRect, pixels);
        const QList<QWidget*> named = window_->findChildren<QWidget*>(name);
        QCOMPARE(named.size(), 1);
        QWidget* control = named.front();
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
        QCOMPARE(captionOf(control), caption);
        QCOMPARE(control->geometry(), pixels);
        QVERIFY(control->isEnabled());
        QVERIFY(!control->isHidden());
    }

    void fieldsAcceptAnyText() {
        for (Field field : allFields()) {
            const QLineEdit* edit = window_->field(field);
            QVERIFY(edit != nullptr);
            const QByteArray name = edit->objectName().toUtf8();
            QVERIFY2(edit->maxLength() == std::numeric_limits<int>::max(), name);
            QVERIFY2(edit->validator() == nullptr, name);
            QVERIFY2(edit->inputMask().isEmpty(), name);
            QVERIFY2(!edit->isReadOnly(), name);
            QVERIFY2(edit->echoMode() == QLineEdit::Normal, name);
            QVERIFY2(edit->alignment() & Qt::AlignLeft, name);
        }
    }

    void fieldBackgrounds_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("input");
        for (Field field : allFields()) {
            const QString name = QString::fromUtf8(fieldName(field).data());
            QTest::newRow(name.toUtf8().constData()) << name << kInputFields.contains(name);
        }
    }

    void fieldBackgrounds() {
        QFETCH(QString, name);
        QFETCH(bool, input);
        const QLineEdit* edit = fieldNamed(*window_, name.toStdString());
        const QColor defaultBase = QLineEdit().palette().color(QPalette::Base);
        const QColor expected = input ? QColor(0, 192, 192) : defaultBase;
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(edit->palette().color(group, QPalette::Base), expected);
        }
    }

    void titleAndJobLabelsHaveTheirFonts() {
        const auto* title = window_->findChild<QLabel*>(QStringLiteral("Label2"));
        QCOMPARE(title->font().family(), QStringLiteral("幼圆"));
        QCOMPARE(title->font().pointSizeF(), 12.0);
        QCOMPARE(title->font().weight(), QFont::Bold);
        QVERIFY(title->font().italic());
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 192, 0));
        QCOMPARE(title->alignment(), Qt::AlignCenter);

        for (const char* name : {"Label3", "Label1"}) {
            const auto* label = window_->findChild<QLabel*>(QString::fromLatin1(name));
            QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
            QCOMPARE(label->font().pointSizeF(), 9.75);
            QCOMPARE(label->font().weight(), QFont::Bold);
            QVERIFY(!label->font().italic());
        }
        // Everything else in the default colours.
        const QColor windowText = QLabel().palette().color(QPalette::WindowText);
        for (QWidget* control : controlsOf(*window_)) {
            if (auto* label = qobject_cast<QLabel*>(control); label && label != title) {
                QCOMPARE(label->palette().color(QPalette::WindowText), windowText);
            }
        }
    }

    // What is drawn, not what is asked for: every character of every caption
    // must have a glyph, and Chinese characters must come from a face with
    // Simplified-Chinese glyph forms, not the Japanese face the toolkit picks
    // by itself.
    void captionsAreDrawnInSimplifiedChinese_data() {
        QTest::addColumn<QString>("name");
        const CalculatorWindow window;
        for (QWidget* control : controlsOf(window)) {
            if (!qobject_cast<QLineEdit*>(control)) {
                QTest::newRow(control->objectName().toUtf8().constData()) << control->objectName();
            }
        }
    }

    void captionsAreDrawnInSimplifiedChinese() {
        QFETCH(QString, name);
        const QWidget* control = window_->findChild<QWidget*>(name);
        const QString caption = captionOf(control);
        for (QChar character : caption) {
            if (character.isSpace()) {
                continue;
            }
            QTextLayout layout(QString(character), control->font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            QCOMPARE(runs.size(), 1);
            const QString face = runs.front().rawFont().familyName();
            const QByteArray where = QStringLiteral("'%1' in %2 drawn with %3")
                                         .arg(character)
                                         .arg(caption, face)
                                         .toUtf8();
            for (quint32 glyph : runs.front().glyphIndexes()) {
                QVERIFY2(glyph != 0, where.constData());
            }
            if (needsChineseGlyph(character)) {
                QVERIFY2(isSimplifiedChineseFace(face), where.constData());
                QVERIFY2(runs.front().rawFont().supportsCharacter(character), where.constData());
            }
        }
    }

    void startsEmptyWithTheCaretInText1() {
        QVERIFY(showAndActivate(*window_));
        for (Field field : allFields()) {
            const QString expected = field == Field::MD ? QStringLiteral("7.65") : QString();
            QCOMPARE(window_->field(field)->text(), expected);
        }
        QCOMPARE(QApplication::focusWidget(), window_->field(Field::Text1));
    }

    void tabVisitsEveryFieldAndButtonInOrder() {
        QVERIFY(showAndActivate(*window_));
        QStringList visited;
        for (qsizetype step = 0; step < kFocusOrder.size(); ++step) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused != nullptr);
            visited << focused->objectName();
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(visited, kFocusOrder);
        QCOMPARE(QApplication::focusWidget()->objectName(), kFocusOrder.front());  // wraps round

        QStringList backwards;
        for (qsizetype step = 0; step < kFocusOrder.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backwards.prepend(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(backwards, kFocusOrder);
    }

    void nothingMovesWhenTheWindowIsResized() {
        QVERIFY(showAndActivate(*window_));
        QHash<QWidget*, QRect> designed;
        for (QWidget* control : controlsOf(*window_)) {
            designed.insert(control, control->geometry());
        }
        for (QSize size : {QSize(1000, 800), QSize(300, 200)}) {
            window_->resize(size);
            QCoreApplication::processEvents();
            for (auto it = designed.cbegin(); it != designed.cend(); ++it) {
                QCOMPARE(it.key()->geometry(), it.value());
            }
        }
        window_->showMaximized();
        QCoreApplication::processEvents();
        for (auto it = designed.cbegin(); it != designed.cend(); ++it) {
            QCOMPARE(it.key()->geometry(), it.value());
        }
    }

    void fieldsAreNamedForScreenReaders_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("D") << QStringLiteral("D") << QStringLiteral("铁心直径(mm)");
        QTest::newRow("Text1") << QStringLiteral("Text1") << QStringLiteral("产品型号");
        QTest::newRow("MD") << QStringLiteral("MD") << QStringLiteral("硅钢片密度");
        QTest::newRow("txz") << QStringLiteral("txz") << QStringLiteral("铁心重量(kg)");
        QTest::newRow("txmj") << QStringLiteral("txmj") << QStringLiteral("截面积(cm)");
        QTest::newRow("dh") << QStringLiteral("dh") << QStringLiteral("总叠厚（mm）");
        QTest::newRow("PK1") << QStringLiteral("PK1") << QStringLiteral("第一级 片宽");
        QTest::newRow("jh9") << QStringLiteral("jh9") << QStringLiteral("第九级 级厚");
        QTest::newRow("jh32") << QStringLiteral("jh32") << QStringLiteral("第三级 级厚（另一侧）");
    }

    void fieldsAreNamedForScreenReaders() {
        QFETCH(QString, field);
        QFETCH(QString, spoken);
        QCOMPARE(fieldNamed(*window_, field.toStdString())->accessibleName(), spoken);
    }

    void noTwoFieldsShareAnAccessibleName() {
        QSet<QString> names;
        for (Field field : allFields()) {
            const QString name = window_->field(field)->accessibleName();
            QVERIFY(!name.isEmpty());
            QVERIFY2(!names.contains(name), name.toUtf8().constData());
            names.insert(name);
        }
    }

    void noButtonIsTheDefault() {
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
            QCOMPARE(button->accessibleName(), button->text());
        }
    }

private:
    static std::vector<Field> allFields() {
        std::vector<Field> fields;
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            fields.push_back(fieldAt(i));
        }
        return fields;
    }

    std::unique_ptr<CalculatorWindow> window_;
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
