#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string_view>
#include <utility>
#include <vector>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/testing/worked_example.h"
#include "kalvitra/ui/calculator_window.h"

// Helpers that let a test act like a designer at the window: type into a
// field, press a button, and see what the window reported.

namespace kalvitra::ui::testing {

inline QLineEdit* fieldNamed(const CalculatorWindow& window, std::string_view name) {
    const std::optional<Field> field = fieldByName(name);
    return field ? window.field(*field) : nullptr;
}

inline QPushButton* buttonNamed(const CalculatorWindow& window, std::string_view name) {
    return qobject_cast<QPushButton*>(window.control(name));
}

inline QString text(const CalculatorWindow& window, std::string_view fieldName) {
    const QLineEdit* field = fieldNamed(window, fieldName);
    return field ? field->text()
                 : QStringLiteral("<no field %1>").arg(QLatin1StringView(fieldName));
}

// Keys for what a keyboard has; anything else (Chinese) arrives the way an
// input method delivers it, as a committed string.
inline void typeText(QWidget* widget, const QString& typed) {
    QString keys;
    const auto flushKeys = [&] {
        QTest::keyClicks(widget, keys);
        keys.clear();
    };
    for (QChar character : typed) {
        if (character.unicode() < 0x80) {
            keys += character;
            continue;
        }
        flushKeys();
        QInputMethodEvent commit;
        commit.setCommitString(QString(character));
        QApplication::sendEvent(widget, &commit);
    }
    flushKeys();
}

// Click into the field, select what it holds and type over it.
inline void typeInto(QLineEdit* field, const QString& typed) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    typeText(field, typed);
}

inline void typeInto(const CalculatorWindow& window, std::string_view fieldName,
                     const QString& typed) {
    typeInto(fieldNamed(window, fieldName), typed);
}

inline void press(const CalculatorWindow& window, std::string_view buttonName) {
    QTest::mouseClick(buttonNamed(window, buttonName), Qt::LeftButton);
}

inline bool showAndActivate(CalculatorWindow& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Takes the place of the message box: keeps each report with the texts the
// fields showed while it was up.
struct RecordedReport {
    QString message;
    FieldTexts textsWhileShown;
};

class ReportRecorder {
public:
    explicit ReportRecorder(CalculatorWindow& window) {
        window.setErrorReporter([this](QWidget* shownOver, const QString& message) {
            reports_.push_back({message, static_cast<CalculatorWindow*>(shownOver)->fieldTexts()});
        });
    }
    const std::vector<RecordedReport>& reports() const { return reports_; }

private:
    std::vector<RecordedReport> reports_;
};

// Types field texts (the worked example's, for instance) into the window.
template <typename Texts>
void typeAll(const CalculatorWindow& window, const Texts& texts) {
    for (const auto& [field, value] : texts) {
        typeInto(window, fieldName(field),
                 QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    }
}

// The designer's inputs for the six-stage core used throughout: its section
// and, for the weight, its frame.
inline void typeSixStageInputs(const CalculatorWindow& window) {
    typeAll(window, worked_example::kSection);
    typeAll(window, worked_example::kFrame);
}

// Types the six-stage core and presses every calculation button, in the
// order a designer would.
inline void calculateSixStageCore(const CalculatorWindow& window) {
    typeSixStageInputs(window);
    for (std::string_view button : {"jh", "jmj", "Command3", "zdh", "铁心重量"}) {
        press(window, button);
    }
}

}  // namespace kalvitra::ui::testing
