// 打印 on a real CUPS print server. The job goes the whole way a designer's
// job goes: Qt's CUPS support, the scheduler, its filters and the cups-pdf
// backend, whose PDF is then read back. The server is the private one that
// scripts/print-server.sh starts (a cups-pdf queue as its default
// destination); its state file says where it listens.
//
//   print_server_test --server=running [Qt Test arguments]
//       on that server; exits with 77 (skipped) when none was started,
//       unless KALVITRA_REQUIRE_PRINT_SERVER names this build's state file,
//       which makes that a failure
//   print_server_test --server=stopped [Qt Test arguments]
//       with the print server down: nothing listens where CUPS is pointed
//
// libcups reads CUPS_SERVER once per process, so each case runs in a process
// of its own.

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

#include "kalvitra/ui/testing/pdf_reading.h"
#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

constexpr int kSkipped = 77;

// What scripts/print-server.sh wrote about the server it started.
struct PrintServer {
    qint64 pid = 0;
    QString socket;        // CUPS_SERVER
    QString queue;         // the default destination
    QString outputFolder;  // where cups-pdf puts the jobs of this user
    QString folder;        // the server's own configuration, spool and logs
};

std::optional<PrintServer> readServerState(const QString& path, QString* why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *why = QStringLiteral("no print server was started (no %1; scripts/print-server.sh start)")
                   .arg(path);
        return std::nullopt;
    }
    // cups-pdf writes into the folder of the job's owner, and only the user
    // who started the server may change its queues.
    if (const uint owner = QFileInfo(path).ownerId(); owner != ::getuid()) {
        *why =
            QStringLiteral("the print server in %1 belongs to user %2; run the test as that user")
                .arg(path)
                .arg(owner);
        return std::nullopt;
    }
    QHash<QString, QString> values;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            values.insert(QString::fromUtf8(line.left(equals)),
                          QString::fromUtf8(line.mid(equals + 1)));
        }
    }
    PrintServer server{values.value(QStringLiteral("KALVITRA_CUPSD_PID")).toLongLong(),
                       values.value(QStringLiteral("CUPS_SERVER")),
                       values.value(QStringLiteral("KALVITRA_PRINT_QUEUE")),
                       values.value(QStringLiteral("KALVITRA_PRINT_OUTPUT_DIR")),
                       values.value(QStringLiteral("KALVITRA_CUPS_DIR"))};
    if (server.pid <= 0 || server.socket.isEmpty() || server.queue.isEmpty() ||
        server.outputFolder.isEmpty()) {
        *why = QStringLiteral("%1 is incomplete").arg(path);
        return std::nullopt;
    }
    QFile command(QStringLiteral("/proc/%1/comm").arg(server.pid));
    if (::kill(static_cast<pid_t>(server.pid), 0) != 0 || !command.open(QIODevice::ReadOnly) ||
        command.readAll().trimmed() != "cupsd") {
        *why = QStringLiteral("the print server %1 names (cupsd %2) is not running")
                   .arg(path)
                   .arg(server.pid);
        return std::nullopt;
    }
    return server;
}

struct Run {
    int exitCode = -1;
    QString output;
};

// Runs a CUPS command against the server this process prints on.
Run cups(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished();
        return {-1, program + QStringLiteral(" did not finish")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

bool waitUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) {
            return false;
        }
        QTest::qWait(100);
    }
    return true;
}

// Presses a button and answers the message box the press brings up, as a
// designer would: reads it and clicks 确定. Returns the box's text, or
// nothing when no box came.
struct BoxSeen {
    QString text;
    FieldTexts fieldsWhileShown;
};

std::optional<BoxSeen> pressAndAnswerBox(CalculatorWindow& window, std::string_view button) {
    std::optional<BoxSeen> seen;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        closer.stop();
        seen = BoxSeen{box->text(), window.fieldTexts()};
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok != nullptr) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            box->reject();
        }
    });
    closer.start();
    press(window, button);
    return seen;
}

// The six-stage worked example, typed and calculated as a designer does:
// thicknesses first, then the stacking factor and the three results that
// need it.
void fillSixStageExample(const CalculatorWindow& window) {
    typeInto(window, "Text1", QStringLiteral("S11-M-1000/10 样机"));
    typeAll(window, worked_example::kSection);
    press(window, "jh");
    typeAll(window, std::array{worked_example::kNetAreaStackingFactor});
    for (std::string_view button : {"jmj", "Command3", "zdh"}) {
        press(window, button);
    }
}

// What the worked example shows, each text as it must come off the page.
QStringList sixStageTextsOnThePage() {
    QStringList texts;
    for (const char* text :
         {"S11-M-1000/10",  "样机",       "200",       "0.96",          "7.65",
          "0062.45",        "0017.19",    "0014.78",   "0012.80",       "0010.61",
          "0007.97",        "17.19",      "14.78",     "12.8",          "10.61",
          "7.97",           "289.499",    "277.91904", "189.15",        "Kalvitra",
          "铁心直径(mm)：", "叠片系数：", "第九级",    "净截面积(cm):", "总叠厚（mm）",
          "打印",           "退出"}) {
        texts << QString::fromUtf8(text);
    }
    return texts;
}

QSet<QString> pdfFilesIn(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::NoDotAndDotDot);
    return {names.cbegin(), names.cend()};
}

}  // namespace

// With the server running and a cups-pdf queue as its default destination.
class RunningServerTest : public QObject {
    Q_OBJECT

public:
    explicit RunningServerTest(PrintServer server) : server_(std::move(server)) {}

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QFileInfo::exists(QStringLiteral(KALVITRA_PDFTOTEXT)),
                 "pdftotext (poppler-utils) is missing");
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        QVERIFY2(!printer.isNull(), "the print server has no default destination");
        QCOMPARE(printer.printerName(), server_.queue);
        QDir().mkpath(server_.outputFolder);
    }

    void init() {
        window_ = std::make_unique<CalculatorWindow>();
        QVERIFY(showAndActivate(*window_));
    }

    void cleanup() {
        window_.reset();
        if (!QTest::currentTestFailed()) {
            return;
        }
        // What the scheduler and the backend said, for the failure report.
        QFile log(server_.folder + QStringLiteral("/log/error_log"));
        if (log.open(QIODevice::ReadOnly)) {
            const QByteArray tail = log.readAll().right(4000);
            std::fprintf(stderr, "--- print server log (end) ---\n%s\n", tail.constData());
        }
    }

    // The whole round: the sheet on screen, 打印, a finished job, and a PDF
    // with one page that carries every text of the sheet, the window scaled
    // to fit with its proportions.
    void aRealJobPrintsTheSheetOnOnePage() {
        fillSixStageExample(*window_);
        const FieldTexts before = window_->fieldTexts();
        const QSet<QString> earlier = pdfFilesIn(server_.outputFolder);
        ReportRecorder recorder(*window_);

        QElapsedTimer timer;
        timer.start();
        press(*window_, "打印");
        const qint64 pressMs = timer.elapsed();
        QVERIFY2(recorder.reports().empty(),
                 qPrintable(recorder.reports().empty() ? QString()
                                                       : recorder.reports().front().message));
        QCOMPARE(window_->fieldTexts(), before);

        // The job leaves the queue once the backend has written the file.
        QVERIFY2(waitUntil(
                     [&] {
                         const Run queued =
                             cups(QStringLiteral("lpstat"), {QStringLiteral("-o"), server_.queue});
                         return queued.exitCode == 0 && queued.output.trimmed().isEmpty();
                     },
                     60'000),
                 "the job is still queued after a minute");
        QSet<QString> added;
        QString pdf;
        qint64 lastSize = -1;
        QVERIFY2(waitUntil(
                     [&] {
                         added = pdfFilesIn(server_.outputFolder) - earlier;
                         if (added.size() != 1) {
                             return false;
                         }
                         pdf = server_.outputFolder + u'/' + *added.cbegin();
                         const qint64 size = QFileInfo(pdf).size();
                         const bool settled = size > 0 && size == lastSize;
                         lastSize = size;
                         return settled;
                     },
                     30'000),
                 qPrintable(QStringLiteral("no single finished PDF appeared in %1 (new: %2)")
                                .arg(server_.outputFolder,
                                     QStringList(added.cbegin(), added.cend()).join(u' '))));
        const qint64 doneMs = timer.elapsed();
        qInfo("打印 returned after %lld ms; the job was in %s after %lld ms", pressMs,
              qPrintable(pdf), doneMs);

        const Run info = cups(QStringLiteral("pdfinfo"), {pdf});
        QCOMPARE(info.exitCode, 0);
        QVERIFY2(info.output.contains(QRegularExpression(QStringLiteral("\nPages: +1\n"))),
                 qPrintable(info.output));

        const QString printed = runPdftotext({pdf, QStringLiteral("-")});
        for (const QString& shown : sixStageTextsOnThePage()) {
            const QString text = shown.normalized(QString::NormalizationForm_KC);
            QVERIFY2(printed.contains(text),
                     qPrintable(text + QStringLiteral(" not on the page:\n") + printed));
        }
        QCOMPARE(printed.count(u'\f'), 1);

        QSizeF page;
        const QList<Word> words = wordsOf(pdf, &page);
        const std::optional<QString> problem = fitProblem(words, page);
        QVERIFY2(!problem, qPrintable(problem.value_or(QString())));

        // Kept beside the build for the documentation; the job's own file is
        // this test's to remove.
        const QString kept = QStringLiteral(KALVITRA_PRINTED_PAGE_COPY);
        QFile::remove(kept);
        QVERIFY(QFile::copy(pdf, kept));
        QVERIFY(QFile::remove(pdf));
    }

    // The server is up but has no default destination: 打印 says so in
    // Chinese, nothing is printed, and the designer's sheet stays and works.
    void noDefaultDestinationIsReported() {
        const QString gone = QStringLiteral("KalvitraRemoved");
        QCOMPARE(cups(QStringLiteral("lpadmin"),
                      {QStringLiteral("-p"), gone, QStringLiteral("-E"), QStringLiteral("-v"),
                       QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                       QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")})
                     .exitCode,
                 0);
        const auto restoreDefault = qScopeGuard([&] {
            cups(QStringLiteral("lpadmin"), {QStringLiteral("-x"), gone});
            cups(QStringLiteral("lpadmin"), {QStringLiteral("-d"), server_.queue});
        });
        // Deleting the default destination leaves the server without one.
        QCOMPARE(cups(QStringLiteral("lpadmin"), {QStringLiteral("-d"), gone}).exitCode, 0);
        QCOMPARE(cups(QStringLiteral("lpadmin"), {QStringLiteral("-x"), gone}).exitCode, 0);
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());

        fillSixStageExample(*window_);
        const QSet<QString> earlier = pdfFilesIn(server_.outputFolder);
        const FieldTexts before = window_->fieldTexts();
        const std::optional<BoxSeen> box = pressAndAnswerBox(*window_, "打印");
        QVERIFY2(box.has_value(), "打印 without a default printer showed no message");
        QVERIFY2(box->text.contains(QStringLiteral("没有默认打印机")), qPrintable(box->text));
        QCOMPARE(box->fieldsWhileShown, before);
        QCOMPARE(window_->fieldTexts(), before);
        QVERIFY(window_->isVisible());
        QVERIFY(cups(QStringLiteral("lpstat"), {QStringLiteral("-o")}).output.trimmed().isEmpty());
        QCOMPARE(pdfFilesIn(server_.outputFolder), earlier);

        // The designer carries on: a changed stacking factor, a new net area.
        typeInto(*window_, "dpxs", QStringLiteral("0.97"));
        press(*window_, "Command3");
        QCOMPARE(text(*window_, "txjmj"), QStringLiteral("280.81403"));
    }

    // A queue that refuses jobs: the scheduler turns the job away, so the
    // page never prints. The designer must be told, not left waiting at the
    // printer.
    void aQueueThatRefusesJobsIsReported() {
        QCOMPARE(
            cups(QStringLiteral("cupsreject"),
                 {QStringLiteral("-r"), QStringLiteral("refusing jobs for a test"), server_.queue})
                .exitCode,
            0);
        const auto acceptAgain =
            qScopeGuard([&] { cups(QStringLiteral("cupsaccept"), {server_.queue}); });
        fillSixStageExample(*window_);
        const FieldTexts before = window_->fieldTexts();
        ReportRecorder recorder(*window_);
        press(*window_, "打印");
        QCOMPARE(window_->fieldTexts(), before);
        QCOMPARE(recorder.reports().size(), std::size_t{1});
        const QString message = recorder.reports().front().message;
        QVERIFY2(message.contains(QStringLiteral("不接受打印作业")), message.toUtf8().constData());
    }

private:
    PrintServer server_;
    std::unique_ptr<CalculatorWindow> window_;
};

// With the print server stopped: CUPS is pointed at a socket nobody serves.
class StoppedServerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        window_ = std::make_unique<CalculatorWindow>();
        QVERIFY(showAndActivate(*window_));
    }
    void cleanup() { window_.reset(); }

    // The error box names the problem in Chinese; once it is answered the
    // window is still there with everything typed and calculated, and the
    // next calculation works.
    void printingWithTheServerStoppedIsReported() {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        fillSixStageExample(*window_);
        const FieldTexts before = window_->fieldTexts();

        QElapsedTimer timer;
        timer.start();
        const std::optional<BoxSeen> box = pressAndAnswerBox(*window_, "打印");
        qInfo("打印 with the server stopped: message after %lld ms", timer.elapsed());
        QVERIFY2(box.has_value(), "打印 with the print server stopped showed no message");
        QVERIFY2(box->text.contains(QStringLiteral("打印出错")), qPrintable(box->text));
        QVERIFY2(box->text.contains(QStringLiteral("没有默认打印机")), qPrintable(box->text));
        QCOMPARE(box->fieldsWhileShown, before);

        QVERIFY(window_->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(window_->fieldTexts(), before);
        typeInto(*window_, "dpxs", QStringLiteral("0.97"));
        press(*window_, "Command3");
        QCOMPARE(text(*window_, "txjmj"), QStringLiteral("280.81403"));
    }

private:
    std::unique_ptr<CalculatorWindow> window_;
};

int main(int argc, char* argv[]) {
    const char* usage = "usage: print_server_test --server=running|stopped [Qt Test arguments]\n";
    if (argc < 2 || std::strncmp(argv[1], "--server=", 9) != 0) {
        std::fputs(usage, stderr);
        return 2;
    }
    const QByteArray mode(argv[1] + 9);
    // Qt Test reads the remaining arguments; the mode is not one of them.
    argv[1] = argv[0];
    --argc;
    ++argv;

    // The destination comes from the server alone, never from the caller's
    // environment.
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    std::optional<PrintServer> server;
    QTemporaryDir nobodyServes;
    if (mode == "running") {
        QString path = qEnvironmentVariable("KALVITRA_PRINT_SERVER_STATE");
        if (path.isEmpty()) {
            path = QStringLiteral(KALVITRA_PRINT_SERVER_STATE);
        }
        QString why;
        server = readServerState(path, &why);
        if (!server) {
            // Required where the caller started this build's server.
            const bool required = qEnvironmentVariable("KALVITRA_REQUIRE_PRINT_SERVER") == path;
            std::fprintf(stderr, "%s: %s\n", required ? "FAIL" : "SKIP", qPrintable(why));
            return required ? 1 : kSkipped;
        }
        qputenv("CUPS_SERVER", server->socket.toLocal8Bit());
    } else if (mode == "stopped") {
        if (!nobodyServes.isValid()) {
            return 1;
        }
        qputenv("CUPS_SERVER", nobodyServes.filePath(QStringLiteral("cups.sock")).toLocal8Bit());
    } else {
        std::fputs(usage, stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    if (server) {
        RunningServerTest test(*server);
        return QTest::qExec(&test, argc, argv);
    }
    StoppedServerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "print_server_test.moc"
