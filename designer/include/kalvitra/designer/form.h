#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <span>
#include <vector>

#include "kalvitra/design/evaluation.h"
#include "kalvitra/inputs/checks.h"

// The designer's inputs as a person fills them in: one row per control, in
// the order of the groups on screen, with its design-file key (also its
// object name), the input of the core it stands for, its label and unit.
// The window, the design file and the report all read this one table; the
// texts of the controls become the core's inputs here, and nowhere else.

namespace kalvitra::designer {

enum class Group { Section, Widths, Frame, Material, Loss, Rating, NoLoad, TitleBlock };

enum class InputKind {
    Number,       // a line edit holding one number
    MaybeNumber,  // the same, or empty for none
    WidthList,    // a line edit holding the widths, blanks between
    Choice,       // a list of named choices
    CurveFile,    // the path of a curve file, chosen with a button
    Text,         // a line edit holding a text of the title block
};

struct InputRow {
    InputKind kind;
    const char* key;
    DesignInput input;
    Group group;
    const char* label;  // English, translated in the context "kalvitra::designer::Form"
    const char* unit;   // SI symbols read the same in both languages
    const char* hint;   // what the field takes, for its tooltip; may be null
};

std::span<const InputRow> inputRows();
const InputRow* findInputRow(const QString& key);
const InputRow* findInputRow(DesignInput input);

QString groupTitle(Group group);
QString labelOf(const InputRow& row);
QString hintOf(const InputRow& row);

// A choice of a Choice row: its key in a design file, and its words.
struct Choice {
    QString key;
    QString label;
};
QList<Choice> choicesOf(const InputRow& row);

// The key of the loss-curve text kept beside the curve file's path.
inline const QString kCurveTextKey = QStringLiteral("curve");
// The same for the joint curve; both empty is the typical joint curve.
inline const QString kJointCurveTextKey = QStringLiteral("jointCurve");

// Every input's text by key, as the controls hold them and a design file
// keeps them.
using DesignTexts = QMap<QString, QString>;
DesignTexts defaultTexts();

// The texts of the controls that show the widths and D of a design which the
// core chose (best widths, or the diameter found), so that switching to
// "as given" starts from them.
DesignTexts chosenTexts(const core_design::Design& design);

struct InputProblem {
    DesignInput input;
    QString message;  // in the UI language
};

struct FormReading {
    core_design::Inputs inputs;
    QList<InputProblem> problems;  // texts that do not read as what they must be
};

// The core's inputs from the texts. Inputs whose control the mode hides
// (the widths when they are chosen, the voltage when the flux density is
// given) are not read.
FormReading readForm(const DesignTexts& texts);

// The rule an input must follow with the others, in the UI language, its
// numbers the core's.
QString ruleOf(DesignInput input);

// What is wrong with an input the core refused, in the UI language: a value
// out of the input's own range gets that range, worded from the catalogue
// ("Core diameter must be a number from 1E-100 to 1E+100."); any other
// refusal gets the core's own words in English and the input's rule (ruleOf)
// in Chinese.
QString problemText(const core_design::Problem& problem, drawing::Language language);

// Whether the mode of the texts uses the input's control.
bool isUsed(const DesignTexts& texts, DesignInput input);

}  // namespace kalvitra::designer
