// The design without a window: edits, the design and sheet files, a file
// that is refused, and what "Open in calculator" would run. Plain Qt Core:
// no widget is made.

#include "kalvitra/designer/design_document.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "kalvitra/designer/calculator_launcher.h"
#include "kalvitra/designer/design_exporter.h"
#include "kalvitra/designer/help.h"
#include "kalvitra/designer/language.h"
#include "kalvitra/designer/presentation.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/typed_numbers.h"

using namespace kalvitra;
using namespace kalvitra::designer;

namespace {

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file %s", qPrintable(path));
    }
    return path;
}

// The 500 kVA, 10/0.4 kV Dyn11 tender at 1.6 T on nine stages, as the batch
// tool's rating command is tested with it.
void typeTheTender(DesignDocument& document) {
    const QList<QPair<QString, QString>> tender = {
        {"ratedPower", "500"},   {"hvVoltage", "10"}, {"lvVoltage", "0.4"},
        {"connection", "Dyn11"}, {"stages", "9"},     {"stackingFactor", "0.97"}};
    for (const auto& [key, text] : tender) {
        document.setText(key, text);
    }
}

const ValueRow& valueRow(const QList<ValueRow>& rows, const char* key) {
    return *std::ranges::find_if(rows,
                                 [&](const ValueRow& row) { return qstrcmp(row.key, key) == 0; });
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

struct Spies {
    explicit Spies(const DesignDocument& document)
        : changed(&document, &DesignDocument::changed),
          modified(&document, &DesignDocument::modifiedChanged),
          evaluated(&document, &DesignDocument::evaluated) {}
    QSignalSpy changed;
    QSignalSpy modified;
    QSignalSpy evaluated;
};

// The state a refused file must leave alone.
struct Snapshot {
    DesignTexts texts;
    QString path;
    bool modified = false;
    bool outOfDate = false;
    double diameter = 0;

    static Snapshot of(const DesignDocument& document) {
        return {document.texts(), document.filePath(), document.isModified(),
                document.isOutOfDate(), document.design() ? document.design()->diameter : -1};
    }
    bool operator==(const Snapshot&) const = default;
};

}  // namespace

class DesignDocumentTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString pathOf(const QString& name) const { return dir_.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void startsWithAWholeUnmodifiedDesign() {
        const DesignDocument document;
        QVERIFY(!document.isModified());
        QVERIFY(!document.isOutOfDate());
        QVERIFY(document.design() != nullptr);
        QCOMPARE(document.name(), QStringLiteral("Untitled"));
        // The widths the core chose stand in their text, ready to be taken.
        QCOMPARE(document.texts().value(QStringLiteral("widths")),
                 QStringLiteral("190 180 165 150 130 105 80 45"));
    }

    // Every edit modifies and evaluates; a refused one keeps the last whole
    // design, marked out of date, and says which input and who refused it.
    void anEditModifiesAndEvaluates_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("diameter");  // of the design kept
        QTest::addColumn<int>("readingProblems");
        QTest::addColumn<int>("designProblems");
        QTest::addColumn<int>("widths");  // in the widths' text

        QTest::newRow("a larger core") << "diameter"
                                       << "250" << 250.0 << 0 << 0 << 8;
        QTest::newRow("more stages: the chosen widths follow") << "stages"
                                                               << "9" << 196.0 << 0 << 0 << 9;
        QTest::newRow("decimal comma: the text does not read") << "diameter"
                                                               << "250,5" << 196.0 << 1 << 0 << 8;
        QTest::newRow("limbs would overlap: the core refuses") << "centreDistance"
                                                               << "150" << 196.0 << 0 << 1 << 8;
        QTest::newRow("no such day: the core refuses") << "date"
                                                       << "2026-02-30" << 196.0 << 0 << 1 << 8;
        QTest::newRow("a product model of two lines") << "productModel"
                                                      << "S11\nM" << 196.0 << 0 << 1 << 8;
    }
    void anEditModifiesAndEvaluates() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, readingProblems);
        QFETCH(int, designProblems);
        DesignDocument document;
        const Spies spies(document);

        document.setText(key, text);

        QCOMPARE(document.texts().value(key), text);
        QVERIFY(document.isModified());
        QCOMPARE(spies.modified.count(), 1);
        QCOMPARE(spies.modified.front().front().toBool(), true);
        QCOMPARE(spies.evaluated.count(), 1);
        QCOMPARE(spies.changed.count(), 1);
        QCOMPARE(document.readingProblems().size(), readingProblems);
        QCOMPARE(static_cast<int>(document.designProblems().size()), designProblems);
        QCOMPARE(document.isOutOfDate(), readingProblems + designProblems > 0);
        QVERIFY(document.design() != nullptr);
        QTEST(document.design()->diameter, "diameter");
        QTEST(static_cast<int>(
                  document.texts().value(QStringLiteral("widths")).split(QLatin1Char(' ')).size()),
              "widths");

        document.setText(QStringLiteral("stages"), QStringLiteral("7"));
        QCOMPARE(spies.modified.count(), 1);  // said once, while it stays modified
    }

    void aDesignFileRoundTripsWithItsCurve() {
        const QString curve = writeFile(pathOf(QStringLiteral("grade.csv")),
                                        "B,W/kg\n1.0,0.40\n1.5,0.95\n1.7,1.40\n");
        DesignDocument document;
        QCOMPARE(document.takeCurveFile(curve), std::nullopt);
        QVERIFY(document.isModified());
        QCOMPARE(document.texts().value(QStringLiteral("grade")), QStringLiteral("curveFile"));
        document.setText(QStringLiteral("widthMode"), QStringLiteral("given"));
        document.setText(QStringLiteral("widths"), QStringLiteral("190 180 160"));
        document.setText(QStringLiteral("buildingFactor"), QStringLiteral("1,25"));
        const QString joints = writeFile(pathOf(QStringLiteral("joints.csv")), "B,VA/cm2\n1,2\n");
        QCOMPARE(document.takeCurveFile(joints, DesignInput::JointCurve), std::nullopt);
        document.setText(QStringLiteral("stepLapSteps"), QStringLiteral("6"));
        const QString path = pathOf(QStringLiteral("core.kvd"));
        QCOMPARE(document.save(path), std::nullopt);
        QVERIFY(QFile::remove(joints));  // the design keeps its text
        QVERIFY(!document.isModified());
        QCOMPARE(document.filePath(), path);
        QCOMPARE(document.name(), QStringLiteral("core"));

        DesignDocument reopened;
        const Spies spies(reopened);
        QCOMPARE(reopened.open(path), std::nullopt);
        QCOMPARE(reopened.texts(), document.texts());
        QCOMPARE(reopened.texts().value(kCurveTextKey),
                 QStringLiteral("B,W/kg\n1.0,0.40\n1.5,0.95\n1.7,1.40\n"));
        QCOMPARE(reopened.texts().value(kJointCurveTextKey), QStringLiteral("B,VA/cm2\n1,2\n"));
        QCOMPARE(reopened.filePath(), path);
        QVERIFY(!reopened.isModified());
        QCOMPARE(spies.modified.count(), 0);
        QCOMPARE(spies.evaluated.count(), 1);
        QVERIFY(reopened.isOutOfDate());  // the decimal comma is kept as typed
    }

    // The title block's texts are kept in the design file and reach the
    // drawings; a file written before there was a title block opens with it
    // empty, dated today, and nothing else changed.
    void aDesignFileKeepsItsTitleBlock() {
        DesignDocument document;
        const QList<QPair<QString, QString>> block = {
            {QStringLiteral("productModel"), QStringLiteral("S11-M-100/10")},
            {QStringLiteral("jobNumber"), QStringLiteral("J2026-17")},
            {QStringLiteral("designer"), QStringLiteral("李伟")},
            {QStringLiteral("checker"), QStringLiteral("王芳")},
            {QStringLiteral("date"), QStringLiteral("2026-12-08")}};
        for (const auto& [key, text] : block) {
            document.setText(key, text);
        }
        const QString path = pathOf(QStringLiteral("signed.kvd"));
        QCOMPARE(document.save(path), std::nullopt);
        DesignDocument reopened;
        QCOMPARE(reopened.open(path), std::nullopt);
        QCOMPARE(reopened.texts(), document.texts());
        const drawing::TitleBlock& drawn = reopened.design()->section.titleBlock;
        QCOMPARE(drawn.signatures.checker + drawn.signatures.date, std::string("王芳2026-12-08"));
        QCOMPARE(reopened.design()->sheet.textRef(Field::Text2), std::string("J2026-17"));
    }
    void anOlderDesignFileOpensWithoutATitleBlock() {
        const QString path = writeFile(pathOf(QStringLiteral("older.kvd")),
                                       "{\"kalvitra-design\": 1, \"diameter\": \"210\"}");
        DesignDocument document;
        QCOMPARE(document.open(path), std::nullopt);
        DesignTexts expected = defaultTexts();
        expected[QStringLiteral("diameter")] = QStringLiteral("210");
        expected[QStringLiteral("widths")] = document.texts().value(QStringLiteral("widths"));
        QCOMPARE(document.texts(), expected);
        for (const char* key : {"productModel", "jobNumber", "designer", "checker", "date",
                                "ratedPower", "connection", "guaranteedLoss", "jointCurveFile",
                                "jointCurve", "stepLapSteps", "stepLapSheets"}) {
            QCOMPARE(document.texts().value(QLatin1String(key)), QString());
        }
        QVERIFY(!document.isOutOfDate());
        QCOMPARE(document.design()->diameter, 210.0);
        QCOMPARE(document.design()->jointCurveName, std::string("typical"));
        const std::string date = document.design()->section.titleBlock.signatures.date;
        QVERIFY(date == drawing::todaysDrawingDate());
    }

    // The rating's D and widths are those of `kalvitra-cli rating` for the
    // same tender; beside a D of its own the rating gives the turns alone.
    void theRatingGivesTheTurnsAndCanFindD_data() {
        QTest::addColumn<QString>("widthMode");
        QTest::addColumn<double>("diameter");
        QTest::addColumn<QString>("widths");
        QTest::newRow("D from the rating")
            << "rating" << 200.0 << "195 185 170 155 140 120 100 75 45";
        QTest::newRow("the best widths for D")
            << "best" << 196.0 << "190 180 170 155 140 120 100 75 45";
    }
    void theRatingGivesTheTurnsAndCanFindD() {
        QFETCH(QString, widthMode);
        DesignDocument document;
        typeTheTender(document);
        document.setText(QStringLiteral("widthMode"), widthMode);
        QVERIFY(!document.isOutOfDate());
        const core_design::Design& design = *document.design();
        QTEST(design.diameter, "diameter");
        QTEST(QString::fromStdString(writeWidthList(design.widths)), "widths");
        QCOMPARE(design.turns->hvTurns, 996);
        QCOMPARE(design.turns->lvTurns, 23);
        if (widthMode == QLatin1String("rating")) {
            QCOMPARE(design.loss.fluxDensity, 1.5747802289109611);
        }
        QVERIFY(!valueRow(valueRows(&design), "noLoadCurrent").text.isEmpty());
    }

    // One LV turn at K_t 8 leaves 43 HV turns for a ratio of 43.30: the
    // error, -0.69 %, is flagged in words and in red.
    void aRatioErrorBeyondItsToleranceIsFlagged() {
        DesignDocument document;
        typeTheTender(document);
        document.setText(QStringLiteral("widthMode"), QStringLiteral("rating"));
        document.setText(QStringLiteral("voltsPerTurnFactor"), QStringLiteral("8"));
        document.setText(QStringLiteral("centreDistance"), QStringLiteral("1200"));  // D 950
        QVERIFY(!document.isOutOfDate());
        QCOMPARE(document.design()->turns->lvTurns, 1);
        const ValueRow ratio = valueRow(valueRows(document.design()), "ratioError");
        QVERIFY2(ratio.text.contains(QLatin1String("beyond the 0.5 %")), qPrintable(ratio.text));
        QCOMPARE(ratio.tone, Tone::Bad);
    }

    // A rating left half typed is refused by name; the last design stays.
    void aRatingWithoutItsConnectionIsNamed() {
        DesignDocument document;
        typeTheTender(document);
        document.setText(QStringLiteral("connection"), QString());
        QVERIFY(document.isOutOfDate());
        QCOMPARE(document.designProblems().size(), std::size_t{1});
        QCOMPARE(document.designProblems().front().input, DesignInput::Connection);
        QVERIFY(document.design()->turns.has_value());
        QCOMPARE(document.texts().value(QStringLiteral("ratedPower")), QStringLiteral("500"));
    }

    // Each band of the loss's verdict, in words and in colour.
    void theLossVerdictIsSaidAndColoured_data() {
        QTest::addColumn<double>("share");  // of the loss, the guarantee
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("tone");
        QTest::newRow("equal: within") << 1.0 << "Within the guarantee" << int(Tone::Good);
        QTest::newRow("10 % above: tolerated")
            << 1 / 1.1 << "within the tolerance" << int(Tone::Warning);
        QTest::newRow("20 % above: beyond") << 1 / 1.2 << "Beyond the tolerance" << int(Tone::Bad);
    }
    void theLossVerdictIsSaidAndColoured() {
        QFETCH(double, share);
        DesignDocument document;
        const double loss = document.design()->loss.loss;
        document.setText(QStringLiteral("guaranteedLoss"),
                         QString::fromStdString(writeShortest(loss * share)));
        const ValueRow verdict = valueRow(valueRows(document.design()), "noLoadLossVerdict");
        QFETCH(QString, words);
        QVERIFY2(verdict.text.contains(words), qPrintable(verdict.text));
        QTEST(int(verdict.tone), "tone");
    }

    // Without I0 its row and its verdict's say why, in either language; P0
    // and its verdict still stand.
    void whyThereIsNoCurrentIsSaid_data() {
        QTest::addColumn<QByteArray>("curve");       // the loss curve file
        QTest::addColumn<QByteArray>("jointCurve");  // the joint curve file; empty for typical
        QTest::addColumn<bool>("rated");
        QTest::addColumn<QStringList>("why");  // in English and in Chinese
        const QByteArray apparent = "B,W/kg,VA/kg\n1.0,0.40,0.50\n1.8,1.60,3.00\n";
        QTest::newRow("a curve without VA/kg")
            << QByteArray("B,W/kg\n1.0,0.40\n1.7,1.40\n") << QByteArray() << true
            << QStringList{"No VA/kg in this curve", "没有 VA/kg"};
        QTest::newRow("B outside the joint curve")
            << apparent << QByteArray("B,VA/cm2\n1.0,0.50\n1.5,2.00\n") << true
            << QStringList{"the joint curve joints.csv", "接缝曲线"};
        QTest::newRow("no rating") << apparent << QByteArray() << false
                                   << QStringList{"The no-load current needs the rated power.",
                                                  "计算空载电流需给出额定值"};
    }
    void whyThereIsNoCurrentIsSaid() {
        QFETCH(QByteArray, curve);
        QFETCH(QByteArray, jointCurve);
        QFETCH(bool, rated);
        QFETCH(QStringList, why);
        DesignDocument document;
        if (rated) {
            typeTheTender(document);
        }
        QCOMPARE(document.takeCurveFile(writeFile(pathOf(QStringLiteral("steel.csv")), curve)),
                 std::nullopt);
        if (!jointCurve.isEmpty()) {
            const QString joints = writeFile(pathOf(QStringLiteral("joints.csv")), jointCurve);
            QCOMPARE(document.takeCurveFile(joints, DesignInput::JointCurve), std::nullopt);
        }
        document.setText(QStringLiteral("guaranteedLoss"), QStringLiteral("900"));
        document.setText(QStringLiteral("guaranteedCurrent"), QStringLiteral("1.2"));
        QVERIFY(!document.isOutOfDate());
        for (const auto& [language, words] :
             {std::pair(Language::Chinese, why[1]), std::pair(Language::English, why[0])}) {
            installLanguage(*QCoreApplication::instance(), language);
            const QList<ValueRow> values = valueRows(document.design());
            for (const char* key : {"noLoadCurrent", "noLoadCurrentVerdict"}) {
                QVERIFY2(valueRow(values, key).text.contains(words),
                         qPrintable(valueRow(values, key).text));
            }
            QVERIFY(!valueRow(values, "noLoadLossVerdict").text.isEmpty());
            // The method is the batch tool's, its joints in the window's words.
            QCOMPARE(
                valueRow(values, "method").text,
                language == Language::English
                    ? QString::fromStdString(workshop::methodOf(1.3, workshop::JointKind::Mitred))
                    : QStringLiteral("K_q*q(B)*m + n_j*f_j*q_j(B)*A_net（K_q=1.3，斜接）"));
        }
    }

    // The step-lap counts are read for step-lap joints alone, refused in the
    // catalogue's words, and one needs the other; the texts stay as typed.
    void theStepLapCountsAreCheckedForStepLapJoints_data() {
        QTest::addColumn<QStringList>("typed");  // joints, steps per book, sheets per step
        QTest::addColumn<QString>("said");       // the one problem, or the layout
        QTest::newRow("half a step") << QStringList{"step-lap", "2.5", "2"}
                                     << "Steps per book must be a whole number from 1 to 100.";
        QTest::newRow("sheets without steps")
            << QStringList{"step-lap", "", "2"}
            << "The number of steps per book is part of the step-lap layout: give it with the "
               "number of sheets per step.";
        QTest::newRow("both") << QStringList{"step-lap", "6", "2"}
                              << "6 steps per book, 2 sheets per step";
        QTest::newRow("mitred: not read") << QStringList{"mitred", "2.5", ""} << "";
    }
    void theStepLapCountsAreCheckedForStepLapJoints() {
        QFETCH(QStringList, typed);
        DesignDocument document;
        const QStringList keys = {"joints", "stepLapSteps", "stepLapSheets"};
        for (qsizetype k = 0; k < keys.size(); ++k) {
            document.setText(keys[k], typed[k]);
        }
        const std::vector<core_design::Problem>& problems = document.designProblems();
        QTEST(problems.empty() ? valueRow(valueRows(document.design()), "stepLapLayout").text
                               : problemText(problems.back(), Language::English),
              "said");
        QCOMPARE(document.texts().value(keys[1]), typed[1]);
    }

    // A sheet becomes a new design with its widths as given: saving it asks
    // for a design file.
    void aSheetOpensAsANewDesign() {
        DesignDocument document;
        QCOMPARE(document.save(pathOf(QStringLiteral("before.kvd"))), std::nullopt);
        const QString sheet = writeFile(pathOf(QStringLiteral("core.kvs")),
                                        "D=200\r\nPK1=190\r\nPK2=175\r\nPK3=155\r\nH=800\r\n"
                                        "Text1=S11-M-100/10 \r\n");
        QCOMPARE(document.open(sheet), std::nullopt);
        QCOMPARE(document.texts().value(QStringLiteral("widthMode")), QStringLiteral("given"));
        QCOMPARE(document.texts().value(QStringLiteral("widths")), QStringLiteral("190 175 155"));
        QCOMPARE(document.texts().value(QStringLiteral("diameter")), QStringLiteral("200"));
        QCOMPARE(document.texts().value(QStringLiteral("windowHeight")), QStringLiteral("800"));
        QCOMPARE(document.texts().value(QStringLiteral("productModel")),
                 QStringLiteral("S11-M-100/10"));
        QVERIFY(document.filePath().isEmpty());
        QVERIFY(document.isModified());
        QVERIFY(!document.isOutOfDate());
        QCOMPARE(document.design()->widths, (std::vector<double>{190, 175, 155}));
    }

    // A sheet's lenient texts are taken as the calculations read them, and
    // each is listed with what was read: nothing is taken without a word.
    void aSheetReadLenientlySaysWhatWasRead_data() {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QString>("widths");
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QStringList>("notes");

        QTest::newRow("a decimal comma in a width and the factor")
            << QByteArray(
                   "D=215\nPK1=210\nPK2=200,5\nPK3=185\nH=500\nM=370\nZ=3\n"
                   "dpxs=0,97\n")
            << QStringLiteral("210 200 185") << QStringLiteral("0")
            << QStringList{QStringLiteral("dpxs: \"0,97\" read as 0 (a comma ends a number: use "
                                          "a decimal point)"),
                           QStringLiteral("PK2: \"200,5\" read as 200 (a comma ends a number: "
                                          "use a decimal point)")};
        QTest::newRow("a unit after a number, an empty density")
            << QByteArray("D=215\nPK1=210mm\nPK2=185\nH=500\nM=370\nZ=3\nMD=\ndpxs=0.97\n")
            << QStringLiteral("210 185") << QStringLiteral("0.97")
            << QStringList{QStringLiteral("MD: empty; the design keeps 7.65"),
                           QStringLiteral("PK1: \"210mm\" read as 210")};
        QTest::newRow("plain numbers")
            << QByteArray("D=215\nPK1=210\nPK2=185\nH=500\nM=370\nZ=3\nMD=7.65\ndpxs=0.97\n")
            << QStringLiteral("210 185") << QStringLiteral("0.97") << QStringList{};
    }
    void aSheetReadLenientlySaysWhatWasRead() {
        QFETCH(QByteArray, sheet);
        DesignDocument document;
        QCOMPARE(document.open(writeFile(pathOf(QStringLiteral("lenient.kvs")), sheet)),
                 std::nullopt);
        QTEST(document.texts().value(QStringLiteral("widths")), "widths");
        QTEST(document.texts().value(QStringLiteral("stackingFactor")), "factor");
        QTEST(document.sheetReadingNotes(), "notes");
        QCOMPARE(static_cast<qsizetype>(document.sheetReadings().size()),
                 document.sheetReadingNotes().size());
        document.clear();
        QVERIFY(document.sheetReadingNotes().isEmpty());
    }

    // Widths that read as nothing refuse the sheet, naming the field and
    // what was read; the document stays as it was.
    void aSheetWhoseWidthsReadAsNothingIsRefusedByName() {
        DesignDocument document;
        const Snapshot before = Snapshot::of(document);
        const std::optional<FileError> error =
            document.open(writeFile(pathOf(QStringLiteral("fullwidth.kvs")),
                                    "D=215\nPK1=210\nPK2=\uFF12\uFF10\uFF10\nPK3=185\n"));
        QVERIFY(error.has_value());
        QCOMPARE(error->problem, FileProblem::Content);
        QVERIFY2(error->message.contains(QStringLiteral("PK2: \"\uFF12\uFF10\uFF10\" read as 0")),
                 qPrintable(error->message));
        QVERIFY2(error->message.contains(QStringLiteral("stage 2 (PK2) has no width"),
                                         Qt::CaseInsensitive),
                 qPrintable(error->message));
        QVERIFY(Snapshot::of(document) == before);
    }

    // The widths are kept as the words read, one blank between, whatever
    // separated them: a pasted column prints on one line and saves without CR LF.
    void enteredWidthsAreNormalised_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("pasted column")
            << QStringLiteral("210\r\n200\r\n185") << QStringLiteral("210 200 185");
        QTest::newRow("commas") << QStringLiteral("210,200,185") << QStringLiteral("210 200 185");
        QTest::newRow("Chinese marks")
            << QStringLiteral("210\uFF0C200\u3001185") << QStringLiteral("210 200 185");
        QTest::newRow("typing on after a comma")
            << QStringLiteral("210,") << QStringLiteral("210 ");
    }
    void enteredWidthsAreNormalised() {
        QFETCH(QString, typed);
        DesignDocument document;
        document.setText(QStringLiteral("widthMode"), QStringLiteral("given"));
        document.setText(QStringLiteral("widths"), typed);
        QTEST(document.texts().value(QStringLiteral("widths")), "kept");
        const QString path = pathOf(QStringLiteral("pasted.kvd"));
        QCOMPARE(document.save(path), std::nullopt);
        QVERIFY(!contents(path).contains('\r'));
    }

    // While a box is half typed into an error ("1" on the way to "12"), the
    // design kept is the last one before that box was touched.
    void theDesignKeptIsTheOneBeforeTheEdit() {
        DesignDocument document;
        document.setText(QStringLiteral("stages"), QStringLiteral("1"));
        QVERIFY(!document.isOutOfDate());
        QCOMPARE(document.design()->widths.size(), std::size_t{1});
        document.setText(QStringLiteral("stages"), QStringLiteral("12"));
        QVERIFY(document.isOutOfDate());
        QCOMPARE(document.design()->widths.size(), std::size_t{8});
        QCOMPARE(document.texts().value(QStringLiteral("widths")),
                 QStringLiteral("190 180 165 150 130 105 80 45"));
        // Another box begun from a good design keeps that one.
        document.setText(QStringLiteral("stages"), QStringLiteral("3"));
        document.setText(QStringLiteral("grid"), QStringLiteral("x"));
        QCOMPARE(document.design()->widths.size(), std::size_t{3});
    }

    // The guide beside the program comes first, then the build tree's, then
    // the install's; the English one stands in for a language missing.
    void theUserGuideIsFoundInTheWindowsLanguage() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin/docs")));
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("share/kalvitra")));
        const QString program = root.filePath(QStringLiteral("bin"));
        QCOMPARE(findUserGuide(program, Language::Chinese), QString());
        const QString installed =
            writeFile(root.filePath(QStringLiteral("share/kalvitra/user-guide.md")), "#");
        QCOMPARE(findUserGuide(program, Language::Chinese), installed);
        const QString chinese =
            writeFile(root.filePath(QStringLiteral("share/kalvitra/user-guide.zh_CN.md")), "#");
        QCOMPARE(findUserGuide(program, Language::Chinese), chinese);
        const QString beside =
            writeFile(root.filePath(QStringLiteral("bin/docs/user-guide.md")), "#");
        QCOMPARE(findUserGuide(program, Language::English), beside);
        QCOMPARE(findUserGuide(program, Language::Chinese), chinese);
    }

    // Which file cannot be read, and why, is the file readers' to test;
    // here: whatever the file, the document is as it was.
    void aRefusedFileLeavesTheDocumentAsItWas_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("curve");
        QTest::addColumn<FileProblem>("problem");

        QTest::newRow("no such design")
            << pathOf(QStringLiteral("missing.kvd")) << false << FileProblem::NotFound;
        QTest::newRow("a design of an unknown input")
            << writeFile(pathOf(QStringLiteral("unknown.kvd")),
                         R"({"kalvitra-design": 1, "diameter": "210", "diametre": "200"})")
            << false << FileProblem::Content;
        QTest::newRow("a sheet with a bad last line")
            << writeFile(pathOf(QStringLiteral("bad.kvs")), "D=210\nPK1=200\nFoo=1\n") << false
            << FileProblem::Content;
        QTest::newRow("no such curve")
            << pathOf(QStringLiteral("missing.csv")) << true << FileProblem::NotFound;
    }
    void aRefusedFileLeavesTheDocumentAsItWas() {
        QFETCH(QString, path);
        QFETCH(bool, curve);
        DesignDocument document;
        QCOMPARE(document.save(pathOf(QStringLiteral("kept.kvd"))), std::nullopt);
        document.setText(QStringLiteral("diameter"), QStringLiteral("250"));
        const Snapshot before = Snapshot::of(document);
        const Spies spies(document);

        const std::optional<FileError> error =
            curve ? document.takeCurveFile(path) : document.open(path);

        QVERIFY(error.has_value());
        QTEST(error->problem, "problem");
        QVERIFY(!error->message.isEmpty());
        QVERIFY(Snapshot::of(document) == before);
        QCOMPARE(spies.changed.count() + spies.modified.count() + spies.evaluated.count(), 0);
    }

    // The calculator beside the designer comes first, then the one of a build
    // tree; without one anywhere, or without a place for the sheet, nothing
    // would run.
    void theCalculatorsCommand_data() {
        QTest::addColumn<QString>("where");  // the calculator, from the designer's folder
        QTest::addColumn<bool>("tempFolder");
        QTest::addColumn<bool>("outOfDate");
        QTest::addColumn<int>("problem");  // -1: none

        using Problem = CalculatorLauncher::Problem;
        const QString beside = QStringLiteral("kalvitra");
        QTest::newRow("beside the designer") << beside << true << false << -1;
        QTest::newRow("in the build tree")
            << QStringLiteral("../app/kalvitra") << true << false << -1;
        QTest::newRow("nowhere") << QString() << true << false << int(Problem::NoCalculator);
        QTest::newRow("no temporary folder")
            << beside << false << false << int(Problem::SheetNotWritten);
        QTest::newRow("a marked input") << beside << true << true << int(Problem::SheetNotWritten);
    }
    void theCalculatorsCommand() {
        QFETCH(QString, where);
        QFETCH(bool, tempFolder);
        QFETCH(bool, outOfDate);
        QFETCH(int, problem);
        QTemporaryDir tree;
        QTemporaryDir temp;
        QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("designer")));
        QVERIFY(QDir(tree.path()).mkpath(QStringLiteral("app")));
        const QString designerFolder = tree.filePath(QStringLiteral("designer"));
        const QString calculator = QDir::cleanPath(QDir(designerFolder).filePath(where));
        if (!where.isEmpty()) {
            writeFile(calculator, "#!/bin/sh\n");
            QFile::setPermissions(calculator, QFile::permissions(calculator) | QFile::ExeOwner);
        }
        const QString folder = tempFolder ? temp.path() : temp.filePath(QStringLiteral("gone"));
        // No other calculator may be found on the PATH.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(temp.path()));
        DesignDocument document;
        if (outOfDate) {
            document.setText(QStringLiteral("diameter"), QStringLiteral("x"));
        }
        const DesignExporter exporter(document);
        const CalculatorLauncher::Launch launch =
            CalculatorLauncher({designerFolder, folder, 42}).prepare(exporter, document.name());
        qputenv("PATH", path);

        QCOMPARE(launch.problem ? int(*launch.problem) : -1, problem);
        if (problem != -1) {
            QVERIFY(!launch.command);
            QVERIFY(!QFile::exists(
                QDir(folder).filePath(QStringLiteral("kalvitra-designer-42-Untitled.kvs"))));
            return;
        }
        const QString sheet =
            QDir(folder).filePath(QStringLiteral("kalvitra-designer-42-Untitled.kvs"));
        QVERIFY(launch.command);
        QCOMPARE(launch.command->program, calculator);
        QCOMPARE(launch.command->arguments, QStringList{sheet});
        const QString exported = temp.filePath(QStringLiteral("exported.kvs"));
        QCOMPARE(exporter.exportSheet(exported), std::nullopt);
        QCOMPARE(contents(sheet), contents(exported));
    }
};

QTEST_GUILESS_MAIN(DesignDocumentTest)
#include "design_document_test.moc"
