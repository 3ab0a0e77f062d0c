// `kalvitra FILE`: the window starts with the texts of a sheet file. A good
// file fills exactly the fields it names; any file that cannot be taken is
// reported with its name and line, and the window keeps the initial sheet.

#include "kalvitra/ui/sheet_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "kalvitra/ui/testing/window_test_support.h"

using namespace kalvitra;
using namespace kalvitra::ui;
using namespace kalvitra::ui::testing;

namespace {

const QString kCarriesOn = QStringLiteral("窗口以初始内容打开。");

// Every field holds its text from named ("D=200", ...) or its initial text.
void compareSheet(const FieldTexts& texts, const QStringList& named) {
    FieldTexts expected;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        expected[i] = QString::fromUtf8(initialText(fieldAt(i)).data());
    }
    for (const QString& entry : named) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        const std::optional<Field> field = fieldByName(entry.left(equals).toStdString());
        QVERIFY2(field, qPrintable(entry));
        expected[indexOf(*field)] = entry.mid(equals + 1);
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        QVERIFY2(texts[i] == expected[i],
                 qPrintable(QStringLiteral("%1 holds \"%2\", expected \"%3\"")
                                .arg(QLatin1StringView(fieldName(fieldAt(i))), texts[i].left(60),
                                     expected[i].left(60))));
    }
}

void compareInitialSheet(const FieldTexts& texts) {
    compareSheet(texts, {});
}

}  // namespace

class SheetFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString pathOf(const QString& name) const { return dir_.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(pathOf(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write the test file %s", qPrintable(file.fileName()));
        }
        return file.fileName();
    }

    // Opens arguments in a fresh window; returns its texts and its reports.
    struct Opened {
        bool taken = false;
        FieldTexts texts;
        std::vector<RecordedReport> reports;
    };
    static Opened open(const QStringList& arguments) {
        CalculatorWindow window;
        ReportRecorder recorder(window);
        Opened opened;
        opened.taken = window.openStartSheet(arguments);
        opened.texts = window.fieldTexts();
        opened.reports = recorder.reports();
        return opened;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void goodFilesFillExactlyTheNamedFields_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("named");

        QTest::newRow("six-stage example")
            << QByteArray(
                   "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\n"
                   "dpxs=0.96\n")
            << QStringList{QStringLiteral("D=200"),   QStringLiteral("PK1=190"),
                           QStringLiteral("PK2=175"), QStringLiteral("PK3=155"),
                           QStringLiteral("PK4=130"), QStringLiteral("PK5=100"),
                           QStringLiteral("PK6=65"),  QStringLiteral("dpxs=0.96")};
        QTest::newRow("CRLF line ends")
            << QByteArray("D=200\r\nH=600\r\n")
            << QStringList{QStringLiteral("D=200"), QStringLiteral("H=600")};
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBFMD=7.8\nZ=3\n")
            << QStringList{QStringLiteral("MD=7.8"), QStringLiteral("Z=3")};
        QTest::newRow("byte order mark, CRLF, no last line end")
            << QByteArray("\xEF\xBB\xBFText1=S11-M-1000/10\r\nD=200")
            << QStringList{QStringLiteral("Text1=S11-M-1000/10"), QStringLiteral("D=200")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("blank lines only") << QByteArray("\n  \n\t\r\n") << QStringList{};
        QTest::newRow("density emptied")
            << QByteArray("MD=\n") << QStringList{QStringLiteral("MD=")};
        QTest::newRow("Chinese text and results")
            << QByteArray("Text1=变压器 样机\njh1=0062.45\ntxmj=289.499\n")
            << QStringList{QStringLiteral("Text1=变压器 样机"), QStringLiteral("jh1=0062.45"),
                           QStringLiteral("txmj=289.499")};
        QTest::newRow("text keeps every '=' and blank")
            << QByteArray("Text2=  a=b \n") << QStringList{QStringLiteral("Text2=  a=b ")};

        QByteArray atLimit("Text1=");
        atLimit.append(kMaxSheetFileBytes - atLimit.size(), 'x');
        QTest::newRow("exactly the size limit")
            << atLimit << QStringList{QString::fromLatin1(atLimit)};
    }
    void goodFilesFillExactlyTheNamedFields() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, named);
        const Opened opened = open({write(QStringLiteral("good.kvs"), content)});
        QVERIFY(opened.taken);
        QCOMPARE(opened.reports.size(), std::size_t{0});
        compareSheet(opened.texts, named);
    }

    void noFileGivesTheInitialSheet() {
        const Opened opened = open({});
        QVERIFY(opened.taken);
        QCOMPARE(opened.reports.size(), std::size_t{0});
        compareInitialSheet(opened.texts);
    }

    // Lines before the bad one name fields too: none of them may show.
    void malformedFilesAreReportedWithFileAndLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");

        QTest::newRow("unknown field")
            << QByteArray("D=200\nPK1=190\nFoo=1\n") << 3 << QStringLiteral("未知的字段 \"Foo\"");
        QTest::newRow("names are case-sensitive")
            << QByteArray("pk1=190\n") << 1 << QStringLiteral("未知的字段 \"pk1\"");
        QTest::newRow("line without '='")
            << QByteArray("D=200\nPK1 190\n") << 2 << QStringLiteral("缺少“=”：\"PK1 190\"");
        QTest::newRow("line without '=' after CRLF and byte order mark")
            << QByteArray(
                   "\xEF\xBB\xBF"
                   "D=200\r\nPK1=190\r\nPK2\r\n")
            << 3 << QStringLiteral("缺少“=”：\"PK2\"（");
        QTest::newRow("invalid UTF-8") << QByteArray("D=200\nH=600\nText1=ab\xFF\n") << 3
                                       << QStringLiteral("第 9 个字节不是有效的 UTF-8");
        QTest::newRow("GB2312 instead of UTF-8")
            << QByteArray("D=200\nText1=\xB1\xE4\xD1\xB9\xC6\xF7\n") << 2
            << QStringLiteral("第 7 个字节不是有效的 UTF-8");
        QTest::newRow("field given twice")
            << QByteArray("D=200\nH=600\nD=210\n") << 3
            << QStringLiteral("字段 D 出现了两次（第一次在第 1 行）");
        QTest::newRow("control character in a name is shown escaped")
            << QByteArray("D\x01=1\n") << 1 << QStringLiteral("未知的字段 \"D\\x01\"");
    }
    void malformedFilesAreReportedWithFileAndLine() {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, problem);
        const QString path = write(QStringLiteral("bad.kvs"), content);
        const Opened opened = open({path});

        QVERIFY(!opened.taken);
        QCOMPARE(opened.reports.size(), std::size_t{1});
        const QString& message = opened.reports.front().message;
        QVERIFY2(
            message.startsWith(QStringLiteral("无法打开计算单文件：%1\n第 %2 行：")
                                   .arg(QDir::toNativeSeparators(path), QString::number(line))),
            qPrintable(message));
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY2(message.endsWith(kCarriesOn), qPrintable(message));
        compareInitialSheet(opened.reports.front().textsWhileShown);
        compareInitialSheet(opened.texts);
    }

    void filesThatCannotBeReadAreReported_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("skipAsRoot");

        const QString missing = pathOf(QStringLiteral("missing.kvs"));
        QTest::newRow("missing file")
            << QStringList{missing} << QStringLiteral("文件不存在。") << false;
        const QString dangling = pathOf(QStringLiteral("dangling.kvs"));
        QFile::link(missing, dangling);
        QTest::newRow("dangling link")
            << QStringList{dangling} << QStringLiteral("文件不存在。") << false;
        QTest::newRow("directory") << QStringList{dir_.path()}
                                   << QStringLiteral("这是一个文件夹，不是计算单文件。") << false;

        const QString locked = write(QStringLiteral("locked.kvs"), "D=200\n");
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        QTest::newRow("not readable")
            << QStringList{locked} << QStringLiteral("没有读取此文件的权限。") << true;

        QByteArray tooLarge("Text1=");
        tooLarge.append(kMaxSheetFileBytes + 1 - tooLarge.size(), 'x');
        QTest::newRow("one byte past the size limit")
            << QStringList{write(QStringLiteral("large.kvs"), tooLarge)}
            << QStringLiteral("文件大于 %1 字节").arg(kMaxSheetFileBytes) << false;
        // A device says it has no size; it is read up to the limit only.
        QTest::newRow("endless device")
            << QStringList{QStringLiteral("/dev/zero")}
            << QStringLiteral("文件大于 %1 字节").arg(kMaxSheetFileBytes) << false;

        const QString good = write(QStringLiteral("one.kvs"), "D=200\n");
        QTest::newRow("two files")
            << QStringList{good, missing}
            << QStringLiteral("一次只能打开一个计算单文件，命令行中却有 2 个：\n%1\n%2")
                   .arg(QDir::toNativeSeparators(good), QDir::toNativeSeparators(missing))
            << false;
    }
    void filesThatCannotBeReadAreReported() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        QFETCH(bool, skipAsRoot);
        if (skipAsRoot && QFileInfo(arguments.front()).isReadable()) {
            QSKIP("this user reads every file");
        }
        const Opened opened = open(arguments);

        QVERIFY(!opened.taken);
        QCOMPARE(opened.reports.size(), std::size_t{1});
        const QString& message = opened.reports.front().message;
        if (arguments.size() == 1) {
            QVERIFY2(message.startsWith(QStringLiteral("无法打开计算单文件：%1\n")
                                            .arg(QDir::toNativeSeparators(arguments.front()))),
                     qPrintable(message));
        }
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY2(message.endsWith(kCarriesOn), qPrintable(message));
        compareInitialSheet(opened.texts);
    }

    // The real program, as the menu starts it: whatever the file, it must
    // still be running (showing its window, or the report over it) when it
    // is ended from outside.
    void theProgramCarriesOnWhateverTheFile_data() {
        QTest::addColumn<QStringList>("arguments");

        QTest::newRow("good file")
            << QStringList{write(QStringLiteral("run-good.kvs"), "D=200\nPK1=190\n")};
        QTest::newRow("malformed file")
            << QStringList{write(QStringLiteral("run-bad.kvs"), "D=200\nFoo=1\n\xFF\n")};
        QTest::newRow("missing file") << QStringList{pathOf(QStringLiteral("run-missing.kvs"))};
        QTest::newRow("directory") << QStringList{dir_.path()};
        QTest::newRow("toolkit option before the file")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                           pathOf(QStringLiteral("run-good.kvs"))};
    }
    void theProgramCarriesOnWhateverTheFile() {
        QFETCH(QStringList, arguments);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KALVITRA_PROGRAM), arguments);
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        const bool ended = program.waitForFinished(1500);
        const QByteArray errors = program.readAllStandardError();
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY2(!ended, qPrintable(QStringLiteral("the program ended by itself with status %1: %2")
                                        .arg(program.exitCode())
                                        .arg(QString::fromLocal8Bit(errors))));
    }
};

QTEST_MAIN(SheetFileTest)
#include "sheet_file_test.moc"
