#include "kalvitra/ui/calculator_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "kalvitra/ui/fonts.h"
#include "kalvitra/ui/sheet_file.h"

#ifdef Q_OS_WIN
// Qt's own headers may have asked <windows.h> for no min and max macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace kalvitra::ui {

std::string WindowSheet::text(Field field) const {
    return fields_[indexOf(field)]->text().toStdString();
}

void WindowSheet::setText(Field field, std::string_view text) {
    QLineEdit* edit = fields_[indexOf(field)];
    edit->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // A number too long for its box shows its leading digits, not its tail.
    edit->setCursorPosition(0);
}

CalculatorWindow::CalculatorWindow(QWidget* parent)
    : QWidget(parent),
      commands_(sheet_, [this] { return printOnDefaultPrinter(fieldTexts(), palette()); }) {
    installFontSubstitutions();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // Every control without a font of its own inherits the dialog font.
    setFont(fontFor(Look::Plain));
    resize(clientSize());
#ifdef Q_OS_WIN
    // On Windows the sheet stands on the system colour of inactive title-bar
    // text (COLOR_INACTIVECAPTIONTEXT, 19); elsewhere on the ordinary window
    // background, so that the default black captions stay readable.
    const COLORREF background = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColor(GetRValue(background), GetGValue(background),
                                                    GetBValue(background)));
    setPalette(windowPalette);
    setAutoFillBackground(true);
#endif

    buildControls();
    chainFocusByTabIndex();
    field(Field::Text1)->setFocus();
}

CalculatorWindow::~CalculatorWindow() = default;

void CalculatorWindow::buildControls() {
    const auto table = controlTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ControlRow& control = table[i];
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Label: {
                auto* label = new QLabel(initialCaption(control), this);
                label->setTextFormat(Qt::PlainText);
                if (control.look == Look::Banner) {
                    label->setAlignment(Qt::AlignCenter);
                    QPalette palette = label->palette();
                    palette.setColor(QPalette::WindowText, QColor(kBannerText));
                    label->setPalette(palette);
                }
                widget = label;
                break;
            }
            case ControlKind::TextField: {
                auto* edit = new QLineEdit(initialCaption(control), this);
                // The designer may type or paste any amount of text: the
                // toolkit's own limit of 32767 characters would cut it.
                edit->setMaxLength(std::numeric_limits<int>::max());
                edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                if (hasInputBackground(*control.field)) {
                    QPalette palette = edit->palette();
                    palette.setColor(QPalette::Base, QColor(kInputFieldBackground));
                    edit->setPalette(palette);
                }
                edit->setAccessibleName(accessibleFieldName(control));
                fields_[indexOf(*control.field)] = edit;
                widget = edit;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(initialCaption(control), this);
                // Enter and Esc in a field press nothing.
                button->setAutoDefault(false);
                button->setDefault(false);
                button->setAccessibleName(button->text());
                const Command command = control.command;
                connect(button, &QPushButton::clicked, this, [this, command] { run(command); });
                widget = button;
                break;
            }
        }
        if (control.look != Look::Plain) {
            widget->setFont(fontFor(control.look));
        }
        widget->setObjectName(controlQName(control));
        widget->setGeometry(toPixels(control.twips));
        controls_[i] = widget;
    }
}

void CalculatorWindow::chainFocusByTabIndex() {
    std::vector<std::size_t> order(controls_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    const auto table = controlTable();
    std::ranges::sort(order, {}, [&](std::size_t i) { return table[i].tabIndex; });

    QWidget* previous = nullptr;
    for (std::size_t i : order) {
        if (table[i].kind == ControlKind::Label) {
            continue;  // labels hold a tab index but never the focus
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, controls_[i]);
        }
        previous = controls_[i];
    }
}

QWidget* CalculatorWindow::control(std::string_view name) const {
    const auto table = controlTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (controlName(table[i]) == name) {
            return controls_[i];
        }
    }
    return nullptr;
}

FieldTexts CalculatorWindow::fieldTexts() const {
    FieldTexts texts;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        texts[i] = fields_[i]->text();
    }
    return texts;
}

void CalculatorWindow::setErrorReporter(ErrorReporter reporter) {
    reportError_ = std::move(reporter);
}

void CalculatorWindow::showErrorBox(QWidget* window, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Kalvitra"), message, QMessageBox::Ok,
                    window);
    // A dialog does not inherit its parent's font; the report is Chinese too.
    if (window != nullptr) {
        box.setFont(window->font());
    }
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool CalculatorWindow::openStartSheet(const QStringList& arguments) {
    const SheetFileRead read = readStartSheet(arguments);
    if (read.error) {
        if (reportError_) {
            reportError_(this, sheetFileErrorMessage(*read.error));
        }
        return false;
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        sheet_.setText(fieldAt(i), read.sheet.textRef(fieldAt(i)));
    }
    return true;
}

CommandOutcome CalculatorWindow::run(const Command& command) {
    const CommandOutcome outcome = commands_.run(command);
    switch (outcome.status) {
        case CommandOutcome::Status::Done:
            break;
        case CommandOutcome::Status::Failed:
            // Unlike a program that ends after reporting, the window stays:
            // nothing the designer typed is lost to one mistyped number.
            if (reportError_) {
                reportError_(this, outcome.message);
            }
            break;
        case CommandOutcome::Status::ExitRequested:
            close();
            QCoreApplication::quit();
            break;
    }
    return outcome;
}

}  // namespace kalvitra::ui
