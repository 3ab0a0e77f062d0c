#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <string_view>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/ui/commands.h"
#include "kalvitra/ui/controls.h"
#include "kalvitra/ui/print.h"

class QLineEdit;

namespace kalvitra::ui {

// The window's text fields seen as the calculation sheet. Every write goes
// straight into its field, so what an action wrote before an error is on
// screen while the error is reported.
class WindowSheet final : public SheetAccess {
public:
    explicit WindowSheet(const std::array<QLineEdit*, kFieldCount>& fields) : fields_(fields) {}
    std::string text(Field field) const override;
    void setText(Field field, std::string_view text) override;

private:
    const std::array<QLineEdit*, kFieldCount>& fields_;
};

// The calculator's one window: every control of the control table at its
// designed place, and a command behind each button. Its object name and its
// title stay "Form1", the names the designers' sheet has always carried.
class CalculatorWindow final : public QWidget {
    Q_OBJECT

public:
    // Tells the designer about a failed command. The window shows a modal
    // message box; tests put their own reporter in its place.
    using ErrorReporter = std::function<void(QWidget* window, const QString& message)>;

    explicit CalculatorWindow(QWidget* parent = nullptr);
    ~CalculatorWindow() override;

    QLineEdit* field(Field field) const { return fields_[indexOf(field)]; }
    // The control of that object name, or nullptr.
    QWidget* control(std::string_view name) const;

    SheetAccess& sheet() { return sheet_; }
    FieldTexts fieldTexts() const;

    void setErrorReporter(ErrorReporter reporter);
    static void showErrorBox(QWidget* window, const QString& message);

    // `kalvitra FILE`: fills the fields from the sheet file among the
    // program's arguments; fields the file does not name keep their initial
    // texts. A file that cannot be read, or more than one, is reported like
    // a failed command, and the window goes on with the initial sheet.
    // Returns whether the sheet is the file's (or there was no file).
    bool openStartSheet(const QStringList& arguments);

    // What pressing a button does: runs its command and reports a failure.
    // The window carries on after any failure, with every field as the
    // command left it.
    CommandOutcome run(const Command& command);

private:
    void buildControls();
    void chainFocusByTabIndex();

    std::array<QLineEdit*, kFieldCount> fields_{};
    std::array<QWidget*, kControlCount> controls_{};
    WindowSheet sheet_{fields_};
    CommandRunner commands_;
    ErrorReporter reportError_ = &CalculatorWindow::showErrorBox;
};

}  // namespace kalvitra::ui
