// One whole session of the calculator, run under a memory checker (Valgrind
// in the plain build, LeakSanitizer in the sanitizer build): the window starts
// offscreen, the six-stage core is entered, every button is pressed (a failing
// calculation and the print button without a printer included), the sheet is
// printed to a PDF file, and the exit button ends the program.
//
//   kalvitra-leak-session OUTPUT.pdf
// Exits 0 when the session went as a designer's would, 1 otherwise.

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "kalvitra/testing/worked_example.h"
#include "kalvitra/ui/calculator_window.h"
#include "kalvitra/ui/print.h"

namespace {

using kalvitra::Field;
using kalvitra::ui::CalculatorWindow;

bool failed = false;

void expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "leak session: %s\n", what);
        failed = true;
    }
}

void click(const CalculatorWindow& window, std::string_view name) {
    auto* button = qobject_cast<QPushButton*>(window.control(name));
    expect(button != nullptr, "a button is missing");
    if (button != nullptr) {
        button->click();
    }
}

void session(CalculatorWindow& window, const QString& pdfPath, int& reports) {
    kalvitra::worked_example::fill(window.sheet(), kalvitra::worked_example::kSection);
    kalvitra::worked_example::fill(window.sheet(), kalvitra::worked_example::kFrame);
    for (std::string_view button :
         {"jh", "jmj", "Command3", "zdh", "铁心重量", "Command2", "保存"}) {
        click(window, button);
    }
    expect(reports == 0, "the six-stage core reported an error");
    const auto& [weightField, weight] = kalvitra::worked_example::kCoreWeight;
    expect(window.field(weightField)->text().toStdString() == weight,
           "the core weight is not the worked example's");

    // A failing calculation: a width larger than the diameter.
    window.field(Field::PK3)->setText(QStringLiteral("300"));
    click(window, "jh");
    expect(reports == 1, "the width beyond the diameter was not reported");

    {
        QPdfWriter pdf(pdfPath);
        expect(!kalvitra::ui::printSheet(pdf, window.fieldTexts(), window.palette()),
               "printing to the PDF file failed");
    }
    expect(QFileInfo(pdfPath).size() > 0, "the PDF file is empty");

    // The print button: on a machine without a default printer it reports.
    const int before = reports;
    click(window, "打印");
    expect(reports <= before + 1, "the print button reported more than once");

    click(window, "exit");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalvitra-leak-session OUTPUT.pdf\n");
        return 2;
    }
    const QString pdfPath = QString::fromLocal8Bit(argv[1]);

    int reports = 0;
    CalculatorWindow window;
    // In place of the modal message box, which would wait for a click.
    window.setErrorReporter([&reports](QWidget*, const QString& message) {
        ++reports;
        std::fprintf(stderr, "leak session: reported: %s\n", qPrintable(message));
    });
    window.show();
    QTimer::singleShot(0, &window, [&] { session(window, pdfPath, reports); });
    // The exit button ends the event loop; a session that never gets there
    // is a failure, not a hang.
    QTimer::singleShot(120'000, &app, [] {
        std::fprintf(stderr, "leak session: the exit button did not end the program\n");
        QCoreApplication::exit(1);
    });
    const int status = app.exec();
    return status == 0 && !failed ? 0 : 1;
}
