#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "kalvitra/design/evaluation.h"
#include "kalvitra/designer/form.h"

// A design as the designer reads it, in the UI language: every output value
// as a number with its unit, the stage table and the cut list as rows of
// texts. The window and the report show these same texts.

namespace kalvitra::designer {

// Where an output value stands: with the section's results, beside the true
// frame mass as a convention, or with the loss.
enum class ValueGroup { Results, Conventions, Loss, Rating, NoLoad };

// How a value reads against what was asked of it: a verdict's band, a ratio
// error beyond its tolerance.
enum class Tone { Plain, Good, Warning, Bad };

struct ValueRow {
    const char* key;  // object name of its field
    ValueGroup group;
    QString label;
    QString text;  // the number with its unit: "865.07 kg"
    Tone tone = Tone::Plain;
};

// The output values in the order shown. Without a design the texts are
// empty.
QList<ValueRow> valueRows(const core_design::Design* design);
QString valueGroupTitle(ValueGroup group);

QStringList stageTableHeader();
QList<QStringList> stageTableRows(const core_design::Design& design);

QStringList cutListHeader();
QList<QStringList> cutListRows(const core_design::Design& design);

// The title block's cells as the drawings write them, label and value, the
// label with a capital.
QList<QStringList> titleBlockRows(const core_design::Design& design);

// The texts of the used inputs with their labels and units, for the report.
QList<QStringList> inputRowsOf(const DesignTexts& texts);

}  // namespace kalvitra::designer
