// A designer at the designer window: typing, mistakes, files, exports
// compared with the batch tool, the report, and both languages.

#include "kalvitra/designer/designer_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "kalvitra/designer/help.h"
#include "kalvitra/designer/language.h"
#include "kalvitra/designer/section_view.h"
#include "kalvitra/drawing/stage_table.h"
#include "kalvitra/workshop/pieces.h"

using namespace kalvitra;
using namespace kalvitra::designer;

namespace {

QLineEdit* field(const DesignerWindow& window, const QString& key) {
    return qobject_cast<QLineEdit*>(window.inputControl(key));
}

// Click into the field, select what it holds and type over it; what a
// keyboard lacks arrives as an input method commits it.
void typeInto(QLineEdit* edit, const QString& typed) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar character : typed) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(edit, character.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QApplication::sendEvent(edit, &commit);
        }
    }
}

// Selects what the field holds and pastes over it, one edit.
void pasteInto(QLineEdit* edit, const QString& pasted) {
    QApplication::clipboard()->setText(pasted);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

void choose(const DesignerWindow& window, const QString& key, const QString& choice) {
    auto* box = qobject_cast<QComboBox*>(window.inputControl(key));
    box->setCurrentIndex(box->findData(choice));
}

QString output(const DesignerWindow& window, const char* key) {
    return window.outputField(QLatin1String(key))->text();
}

// The batch tool's standard output for a sheet file, or why there is none.
struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};
ToolRun runTool(const QStringList& arguments, const QString& sheet) {
    QProcess tool;
    tool.setStandardInputFile(sheet);
    tool.start(QStringLiteral(KALVITRA_CLI), arguments);
    tool.waitForFinished(30'000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            tool.readAllStandardOutput(), tool.readAllStandardError()};
}

// A write that went through, or the reason it did not, shown.
bool written(const std::optional<QString>& problem) {
    if (problem) {
        qWarning("%s", qPrintable(*problem));
    }
    return !problem;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every text a person can see or hear of a window: labels, buttons, group
// titles, menu entries, table heads, accessible names and descriptions,
// tooltips and choices, each with where it stands.
QList<QPair<QString, QString>> visibleTexts(const QWidget& window) {
    QList<QPair<QString, QString>> texts;
    const auto add = [&](const QObject* owner, const QString& what, const QString& text) {
        if (!text.isEmpty()) {
            texts.append({owner->objectName() + QLatin1Char('.') + what, text});
        }
    };
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        add(widget, QStringLiteral("accessibleName"), widget->accessibleName());
        add(widget, QStringLiteral("toolTip"), widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            add(widget, QStringLiteral("text"), label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            add(widget, QStringLiteral("text"), button->text());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            add(widget, QStringLiteral("title"), group->title());
        } else if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
            for (int i = 0; i < box->count(); ++i) {
                add(widget, QStringLiteral("item%1").arg(i), box->itemText(i));
            }
        } else if (const auto* table = qobject_cast<const QTableWidget*>(widget)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                add(widget, QStringLiteral("head%1").arg(c),
                    table->horizontalHeaderItem(c)->text());
            }
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    add(widget, QStringLiteral("cell%1.%2").arg(r).arg(c),
                        table->item(r, c)->text());
                }
            }
        }
    }
    for (const QAction* action : window.findChildren<QAction*>()) {
        add(action, QStringLiteral("text"), action->text());
    }
    add(&window, QStringLiteral("windowTitle"), window.windowTitle());
    return texts;
}

}  // namespace

class DesignerWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        installLanguage(*QCoreApplication::instance(), Language::English);
        window_ = std::make_unique<DesignerWindow>();
        window_->setReporter(
            [this](const QString&, const QString& message) { reports_.append(message); });
        window_->setUnsavedQuestion([] { return DesignerWindow::Unsaved::Discard; });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        reports_.clear();
    }
    void cleanup() { window_.reset(); }

    void startsWithAWholeDesign() {
        QVERIFY(!window_->isOutOfDate());
        QCOMPARE(field(*window_, QStringLiteral("widths"))->text(),
                 QStringLiteral("190 180 165 150 130 105 80 45"));
        QCOMPARE(window_->stageTable()->rowCount(), 8);
        QCOMPARE(window_->cutListTable()->rowCount(), 24);
        QVERIFY(!output(*window_, "noLoadLoss").isEmpty());
    }

    // The shortcuts listed are the actions' own, the guide's F1 among them,
    // and the About box names the version.
    void theHelpMenuListsTheShortcutsAndTheVersion() {
        const QList<QStringList> rows = window_->shortcutRows();
        const auto* guide = window_->findChild<QAction*>(QStringLiteral("actionUserGuide"));
        QVERIFY(guide != nullptr);
        QCOMPARE(guide->shortcut(), QKeySequence(QKeySequence::HelpContents));
        QVERIFY(rows.contains(QStringList{QStringLiteral("User guide"),
                                          guide->shortcut().toString(QKeySequence::NativeText)}));
        QVERIFY(rows.contains(QStringList{
            QStringLiteral("Save as…"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S).toString(QKeySequence::NativeText)}));
        QVERIFY(DesignerWindow::aboutText().contains(designerVersion()));
        QVERIFY(DesignerWindow::aboutText().contains(QStringLiteral("MIT")));
    }

    // Tab walks the inputs group by group, top to bottom, past the ones the
    // modes leave unused and the outputs the mode shows in D and the widths;
    // the buttons beside a curve file's box come between.
    void tabOrderFollowsTheGroups() {
        QStringList expected;
        for (const InputRow& row : inputRows()) {
            const QWidget* control = window_->inputControl(QLatin1String(row.key));
            if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus) != 0) {
                expected << QLatin1String(row.key);
            }
        }
        QStringList walked;
        window_->inputControl(expected.front())->setFocus();
        for (qsizetype i = 0; i < 2 * expected.size() && walked.size() < expected.size(); ++i) {
            QWidget* focused = QApplication::focusWidget();
            if (window_->inputControl(focused->objectName()) != nullptr) {
                walked << focused->objectName();
            }
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(walked, expected);
    }

    void anEditUpdatesTablesAndDrawing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stages");
        QTest::addColumn<int>("cutRows");
        QTest::addColumn<QString>("diameterLabel");
        QTest::newRow("more stages") << "stages"
                                     << "9" << 9 << 27 << "D = 196 mm";
        QTest::newRow("a larger core") << "diameter"
                                       << "250" << 8 << 24 << "D = 250 mm";
        QTest::newRow("full-width digits") << "diameter"
                                           << "２５０．５" << 8 << 24 << "D = 250.5 mm";
        QTest::newRow("two limbs, no centre limbs") << "limbs"
                                                    << "2" << 8 << 16 << "D = 196 mm";
    }
    void anEditUpdatesTablesAndDrawing() {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        const QString massBefore = output(*window_, "frameMass");
        typeInto(field(*window_, key), typed);
        QVERIFY2(!window_->isOutOfDate(), qPrintable(window_->statusBar()->currentMessage()));
        QTEST(window_->stageTable()->rowCount(), "stages");
        QTEST(window_->cutListTable()->rowCount(), "cutRows");
        QVERIFY(output(*window_, "frameMass") != massBefore);
        const auto& marks = window_->sectionView()->section().marks;
        const auto diameter =
            std::ranges::find(marks, drawing::MarkRole::Diameter, &drawing::Mark::role);
        QVERIFY(diameter != marks.end());
        QTEST(QString::fromStdString(diameter->text), "diameterLabel");
        QCOMPARE(std::ranges::count(marks, drawing::MarkRole::Packet, &drawing::Mark::role),
                 2 * window_->stageTable()->rowCount() - 1);
    }

    // The published 196 mm core, its widths typed as given.
    void thePublishedCore() {
        choose(*window_, QStringLiteral("widthMode"), QStringLiteral("given"));
        typeInto(field(*window_, QStringLiteral("widths")),
                 QStringLiteral("190 180 160 140 120 100 65 30"));
        QCOMPARE(output(*window_, "frameMass"), QStringLiteral("865.07 kg"));
        QVERIFY(window_->isWindowModified());
    }

    // One row per way a field goes wrong: its text does not read, the core
    // refuses the value on its own, or the value does not fit the others.
    // Which texts and values are refused is the core's to test.
    void aBadFieldIsMarkedAndTheOldResultsKept_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saying");
        const auto row = [](const char* name, const char* key, const QString& typed,
                            const char* saying) {
            QTest::newRow(name) << QString::fromLatin1(key) << typed << QString::fromUtf8(saying);
        };
        row("decimal comma", "diameter", QStringLiteral("196,5"), "as in 196.5");
        row("empty", "windowHeight", QString(), "Type a number");
        row("emoji", "density", QStringLiteral("7.65😀"), "Not a number");
        row("1E+308 core", "diameter", QStringLiteral("1E+308"), "1E-100 to 1E+100");
        row("limbs would overlap", "centreDistance", QStringLiteral("150"), "overlap");
    }
    void aBadFieldIsMarkedAndTheOldResultsKept() {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, saying);
        const QString mass = output(*window_, "frameMass");
        const int rows = window_->cutListTable()->rowCount();
        QLineEdit* edit = field(*window_, key);
        pasteInto(edit, typed);

        QVERIFY(window_->isOutOfDate());
        QVERIFY(edit->property("marked").toBool());
        QVERIFY2(edit->toolTip().contains(saying), qPrintable(edit->toolTip()));
        QVERIFY(window_->statusBar()->currentMessage().contains(edit->toolTip()));
        QCOMPARE(edit->text(), typed);
        QCOMPARE(output(*window_, "frameMass"), mass);
        QCOMPARE(window_->cutListTable()->rowCount(), rows);
        QVERIFY(window_->sectionView()->isOutOfDate());
        QTemporaryDir folder;
        QVERIFY(window_->exportCutListCsv(folder.filePath(QStringLiteral("c.csv"))).has_value());
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("c.csv"))));
        QVERIFY(reports_.isEmpty());  // no box per keystroke

        typeInto(edit, QString::fromStdString(writeDefault(
                           core_design::Inputs{}.*
                           core_design::findNumberInput(findInputRow(key)->input)->value)));
        QVERIFY(!window_->isOutOfDate());
        QVERIFY(!edit->property("marked").toBool());
    }

    // A million characters pasted: kept whole, marked, and nothing breaks.
    void aMillionCharacterPaste() {
        QString paste(1'000'000, QLatin1Char('9'));
        paste[500'000] = QChar(0xD83D);  // half of an emoji in the middle
        QLineEdit* edit = field(*window_, QStringLiteral("windowHeight"));
        pasteInto(edit, paste);
        QCOMPARE(edit->text().size(), paste.size());
        QVERIFY(edit->property("marked").toBool());
        QVERIFY(edit->toolTip().size() < 200);
    }

    void theDesignFileRoundTrips() {
        QTemporaryDir folder;
        choose(*window_, QStringLiteral("widthMode"), QStringLiteral("given"));
        typeInto(field(*window_, QStringLiteral("widths")), QStringLiteral("190 180 160"));
        choose(*window_, QStringLiteral("fluxSource"), QStringLiteral("voltsPerTurn"));
        typeInto(field(*window_, QStringLiteral("buildingFactor")), QStringLiteral("1,25"));
        const QString path = folder.filePath(QStringLiteral("core.kvd"));
        QVERIFY(written(window_->saveDesign(path)));
        QVERIFY(!window_->isWindowModified());

        DesignerWindow reopened;
        QVERIFY(reopened.openFile(path));
        QCOMPARE(reopened.texts(), window_->texts());
        QVERIFY(reopened.isOutOfDate());  // the decimal comma is kept as typed, and marked
    }

    // An exported sheet opens with its widths as given and the same design;
    // "Open in calculator" hands the calculator such a sheet.
    void theSheetTravelsWithTheDesign() {
        QTemporaryDir folder;
        typeInto(field(*window_, QStringLiteral("windowHeight")), QStringLiteral("800"));
        const QString sheet = folder.filePath(QStringLiteral("core.kvs"));
        QVERIFY(written(window_->exportSheet(sheet)));
        DesignerWindow opened;
        QVERIFY(opened.openFile(sheet));
        QCOMPARE(opened.texts().value(QStringLiteral("widthMode")), QStringLiteral("given"));
        QCOMPARE(output(opened, "frameMass"), output(*window_, "frameMass"));

        // A calculator on the PATH that notes the sheet it was given.
        const QString calculator = folder.filePath(QStringLiteral("kalvitra"));
        QFile script(calculator);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ncp \"$1\" \"$(dirname \"$0\")/given.kvs\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toLocal8Bit() + ':' + path);
        window_->findChild<QAction*>(QStringLiteral("actionOpenInCalculator"))->trigger();
        qputenv("PATH", path);
        QTRY_COMPARE(contents(folder.filePath(QStringLiteral("given.kvs"))), contents(sheet));
        QVERIFY(reports_.isEmpty());
    }

    void aBrokenDesignFileIsRefusedWhole_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("saying");
        QTest::newRow("not JSON") << QByteArray("{\"kalvitra-design\": 1,") << "Not JSON";
        QTest::newRow("another format") << QByteArray("{\"diameter\": \"200\"}") << "no “";
        QTest::newRow("newer") << QByteArray("{\"kalvitra-design\": 9}") << "newer";
        QTest::newRow("unknown input")
            << QByteArray("{\"kalvitra-design\": 1, \"diametre\": \"200\"}") << "diametre";
        QTest::newRow("a number, not a text")
            << QByteArray("{\"kalvitra-design\": 1, \"diameter\": 200}") << "not a text";
        QTest::newRow("no such choice")
            << QByteArray("{\"kalvitra-design\": 1, \"grade\": \"M9\"}") << "M9";
    }
    void aBrokenDesignFileIsRefusedWhole() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, saying);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("broken.kvd"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        typeInto(field(*window_, QStringLiteral("diameter")), QStringLiteral("210"));
        const DesignTexts before = window_->texts();

        QVERIFY(!window_->openFile(path));
        QCOMPARE(reports_.size(), 1);
        QVERIFY2(reports_.front().contains(path) && reports_.front().contains(saying),
                 qPrintable(reports_.front()));
        QCOMPARE(window_->texts(), before);
    }

    // The batch tool draws and lists the exported sheet exactly as the
    // designer exported it, title block and words included: the cut list's
    // CSV in the window's language (Chinese with a byte order mark).
    void exportsEqualTheBatchTool_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("en") << "en";
        QTest::newRow("zh") << "zh";
    }
    void exportsEqualTheBatchTool() {
        QFETCH(QString, lang);
        const Language language = *drawing::languageByCode(lang.toStdString());
        installLanguage(*QCoreApplication::instance(), language);
        DesignerWindow window;
        const QStringList signatures = {QStringLiteral("--designer"), QStringLiteral("李伟"),
                                        QStringLiteral("--checker"),  QStringLiteral("Wang Fang"),
                                        QStringLiteral("--date"),     QStringLiteral("2026-12-08")};
        typeInto(field(window, QStringLiteral("productModel")), QStringLiteral("S11-M-100/10"));
        typeInto(field(window, QStringLiteral("jobNumber")), QStringLiteral("J2026-17"));
        typeInto(field(window, QStringLiteral("designer")), signatures[1]);
        typeInto(field(window, QStringLiteral("checker")), signatures[3]);
        typeInto(field(window, QStringLiteral("date")), signatures[5]);
        choose(window, QStringLiteral("joints"), QStringLiteral("step-lap"));
        typeInto(field(window, QStringLiteral("stepLapSteps")), QStringLiteral("6"));
        typeInto(field(window, QStringLiteral("stepLapSheets")), QStringLiteral("2"));
        QTemporaryDir folder;
        const auto path = [&](const char* name) { return folder.filePath(QLatin1String(name)); };
        QVERIFY(written(window.exportSheet(path("core.kvs"))));
        QVERIFY(written(window.exportSectionSvg(path("section.svg"))));
        QVERIFY(written(window.exportCutListCsv(path("cutlist.csv"))));
        QVERIFY(written(window.exportSectionDxf(path("section.dxf"))));
        QVERIFY(written(window.exportCutListDxf(path("cutlist.dxf"))));
        const auto compare = [&](const QStringList& command, const char* exported) {
            const ToolRun run = runTool(command, path("core.kvs"));
            QCOMPARE(run.status, 0);
            QCOMPARE(contents(path(exported)), run.out);
        };
        const QStringList langOption = QStringList{QStringLiteral("--lang"), lang} << signatures;
        compare(QStringList{QStringLiteral("section")} << langOption, "section.svg");
        compare(QStringList{QStringLiteral("section"), QStringLiteral("--format"),
                            QStringLiteral("dxf")}
                    << langOption,
                "section.dxf");
        const QStringList csvWords =
            language == Language::Chinese
                ? QStringList{QStringLiteral("--header"), QStringLiteral("zh"),
                              QStringLiteral("--bom")}
                : QStringList{};
        compare(
            QStringList{QStringLiteral("cutlist"), QStringLiteral("--stack-round"),
                        QStringLiteral("2"), QStringLiteral("--sheet-thickness"),
                        QStringLiteral("0.27"), QStringLiteral("--dxf"), path("tool-cutlist.dxf"),
                        QStringLiteral("--joints"), QStringLiteral("step-lap"),
                        QStringLiteral("--step-lap-steps"), QStringLiteral("6"),
                        QStringLiteral("--step-lap-sheets"), QStringLiteral("2")}
                << langOption << csvWords,
            "cutlist.csv");
        QVERIFY(contents(path("section.svg")).contains(QByteArrayLiteral(">J2026-17</text>")));
        QCOMPARE(contents(path("cutlist.dxf")), contents(path("tool-cutlist.dxf")));
    }

    // The stage table's heads and the cut list's pieces are the words the
    // drawings write, in the window's language; a head begins with a capital.
    void tablesShowTheDrawingsWords_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("heads");
        QTest::newRow("en") << "en"
                            << QStringList{QStringLiteral("Stage"), QStringLiteral("Width mm"),
                                           QStringLiteral("Thickness mm")};
        QTest::newRow("zh") << "zh"
                            << QStringList{QStringLiteral("级"), QStringLiteral("片宽 mm"),
                                           QStringLiteral("级厚 mm")};
    }
    void tablesShowTheDrawingsWords() {
        QFETCH(QString, lang);
        QFETCH(QStringList, heads);
        const Language language = *drawing::languageByCode(lang.toStdString());
        const bool chinese = language == Language::Chinese;
        installLanguage(*QCoreApplication::instance(), language);
        DesignerWindow window;
        const auto word = [](std::string_view text) {
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        };
        const drawing::StageTableHeads& core =
            chinese ? drawing::kChineseStageTableHeads : drawing::kEnglishStageTableHeads;
        QCOMPARE(heads.join(QLatin1Char('|')).toLower(), word(core.stage) + QLatin1Char('|') +
                                                             word(core.width) + QLatin1Char('|') +
                                                             word(core.thickness));
        for (int c = 0; c < heads.size(); ++c) {
            QCOMPARE(window.stageTable()->horizontalHeaderItem(c)->text(), heads[c]);
        }
        QCOMPARE(window.cutListTable()->horizontalHeaderItem(2)->text(), heads[1]);
        // Step 1 of the three-limb design: outer limb, centre limb, yoke.
        for (int r = 0; r < 3; ++r) {
            const workshop::PieceNames& names = workshop::kPieceNames[r];
            QCOMPARE(window.cutListTable()->item(r, 1)->text(),
                     word(chinese ? names.chinese : names.english));
        }
    }

    void theReportHasThreeA4Pages() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
        QVERIFY(written(window_->exportReportPdf(pdf)));
        QProcess info;
        info.start(QStringLiteral(KALVITRA_PDFINFO), {pdf});
        QVERIFY(info.waitForFinished(30'000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(said.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))),
                 qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("(A4)")), qPrintable(said));
    }

    // Under Chinese no English word is left on screen: every text that reads
    // the same in both languages is a unit, a symbol or a grade name.
    void everyVisibleTextIsTranslated() {
        const QList<QPair<QString, QString>> english = visibleTexts(*window_);
        installLanguage(*QCoreApplication::instance(), Language::Chinese);
        DesignerWindow chinese;
        const QList<QPair<QString, QString>> translated = visibleTexts(chinese);
        QCOMPARE(translated.size(), english.size());
        static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
        // Grade names are the steel makers' own in every language.
        static const QRegularExpression gradeName(QStringLiteral("^[0-9A-Z][0-9A-Za-z.-]*$"));
        for (qsizetype i = 0; i < english.size(); ++i) {
            QCOMPARE(translated[i].first, english[i].first);
            const QString& text = translated[i].second;
            const bool unit = translated[i].first.contains(QLatin1String("Unit."));
            if (text == english[i].second && text.contains(word) && !unit) {
                QVERIFY2(gradeName.match(text).hasMatch(),
                         qPrintable(translated[i].first + QStringLiteral(": ") + text));
            }
        }
    }

    void unsavedChangesAreAskedAbout() {
        int asked = 0;
        window_->setUnsavedQuestion([&] {
            ++asked;
            return DesignerWindow::Unsaved::Cancel;
        });
        QVERIFY(window_->mayDiscardChanges());
        typeInto(field(*window_, QStringLiteral("diameter")), QStringLiteral("200"));
        QVERIFY(!window_->close());
        QCOMPARE(asked, 1);
        QVERIFY(window_->isVisible());
    }

private:
    std::unique_ptr<DesignerWindow> window_;
    QStringList reports_;
};

QTEST_MAIN(DesignerWindowTest)
#include "designer_window_test.moc"
