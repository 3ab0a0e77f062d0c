#pragma once

#include <QtGui/qrgb.h>

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <span>
#include <string_view>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/sheet.h"

// The window as designed: one row per control, with the name the designer
// gave it, its kind, caption, place in twips, tab index, look and command.
// The window, the printed page and the tests all read this one table.

namespace kalvitra::ui {

// The design is in twips; at 96 dots per inch a pixel is 15 twips. Qt
// geometry is in device-independent pixels, so high-DPI screens scale it.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 10320;
inline constexpr int kClientHeightTwips = 7905;

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

QRect toPixels(const TwipRect& twips);
// The client area of the window: 688 × 527 pixels.
QSize clientSize();

enum class ControlKind { Label, TextField, Button };

// Controls without a look of their own use the window's dialog font and the
// platform's colours. Fields take their background from their role.
enum class Look {
    Plain,
    Banner,   // the title: "幼圆" 12 pt bold italic, green, centred
    Heading,  // job identification labels: "MS Sans Serif" 9.75 pt bold
};

// Input fields have this fixed background; result fields keep the default.
inline constexpr QRgb kInputFieldBackground = qRgb(0, 192, 192);
inline constexpr QRgb kBannerText = qRgb(0, 192, 0);

enum class CommandKind {
    None,       // the button does nothing when pressed
    Calculate,  // runs a calculation of the core against the window's fields
    Print,      // prints the window on the default printer
    Exit,       // ends the program
};

struct Command {
    CommandKind kind = CommandKind::None;
    Action action = Action::StageThicknesses;  // for CommandKind::Calculate
};

struct ControlRow {
    ControlKind kind;
    std::string_view name;     // labels and buttons; text fields are named by their field
    std::string_view caption;  // labels and buttons; text fields start with their initial text
    std::optional<Field> field;
    TwipRect twips;
    int tabIndex;
    Look look = Look::Plain;
    Command command{};
};

inline constexpr std::size_t kControlCount = 68;

// Every control in the order of the design, groups kept together.
std::span<const ControlRow> controlTable();

// The control's object name: the designer's name, or the field's name.
std::string_view controlName(const ControlRow& control);
QString controlQName(const ControlRow& control);

// Caption for labels and buttons, initial text for text fields.
QString initialCaption(const ControlRow& control);

// The name a screen reader speaks for a text field: its field's label, the
// captions beside it without their closing colons, D -> "铁心直径(mm)".
QString accessibleFieldName(const ControlRow& control);

const ControlRow* findControl(std::string_view name);

// Text fields whose background is the input colour: everything the designer
// fills in. Result fields keep the platform's text-field background.
bool hasInputBackground(Field field);

}  // namespace kalvitra::ui
