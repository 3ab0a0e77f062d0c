#include "kalvitra/designer/presentation.h"

#include <QCoreApplication>
#include <cmath>

#include "kalvitra/designer/language.h"
#include "kalvitra/drawing/stage_table.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/pieces.h"

namespace kalvitra::designer {
namespace {

QString localised(const char* text) {
    return QCoreApplication::translate("kalvitra::designer::Presentation", text);
}

QString withUnit(const std::string& number, const char* unit) {
    return QString::fromStdString(number) + QLatin1Char(' ') + QString::fromUtf8(unit);
}

QString twoPlaces(double value, const char* unit) {
    return withUnit(twoDecimals(value), unit);
}

// The core's words in the window's language, as its drawings write them.
QString fromCore(std::string_view word) {
    return QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
}

bool inChinese() {
    return currentLanguage() == Language::Chinese;
}

QString pieceText(workshop::Piece piece) {
    const workshop::PieceNames& names = workshop::namesOf(piece);
    return fromCore(inChinese() ? names.chinese : names.english);
}

// The drawing's heads of the stage table begin small ("width mm"); the
// window's heads, as all its labels, with a capital ("Width mm").
QString columnHead(std::string_view word) {
    QString head = fromCore(word);
    if (!head.isEmpty()) {
        head[0] = head[0].toUpper();
    }
    return head;
}

const drawing::StageTableHeads& stageHeads() {
    return inChinese() ? drawing::kChineseStageTableHeads : drawing::kEnglishStageTableHeads;
}

const workshop::CutListHeads& cutHeads() {
    return inChinese() ? workshop::kChineseCutListHeads : workshop::kEnglishCutListHeads;
}

QString count(std::optional<long long> value) {
    return value ? QString::number(*value) : QString();
}

QString shortest(double value) {
    return QString::fromStdString(writeDefault(value));
}

// A tolerance factor as the percentage above the guarantee: 1.15 -> "15".
QString tolerancePercent(double factor) {
    return shortest((factor - 1) * 100);
}

QString fourPlaces(double value, const char* unit) {
    return withUnit(writeDefault(std::round(value * 1e4) / 1e4), unit);
}

// A verdict in words, with its margin, and its colour.
ValueRow verdictRow(const char* key, const QString& label,
                    const std::optional<workshop::GuaranteeCheck>& check) {
    ValueRow row{key, ValueGroup::NoLoad, label, {}, Tone::Plain};
    if (!check) {
        return row;
    }
    const QString margin = QString::fromStdString(twoDecimals(check->margin));
    switch (check->verdict) {
        case workshop::Verdict::Within:
            row.text = localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                                   "Within the guarantee, margin %1 %"))
                           .arg(margin);
            row.tone = Tone::Good;
            break;
        case workshop::Verdict::WithinTolerance:
            row.text = localised(QT_TRANSLATE_NOOP(
                                     "kalvitra::designer::Presentation",
                                     "Above the guarantee, within the tolerance, margin %1 %"))
                           .arg(margin);
            row.tone = Tone::Warning;
            break;
        case workshop::Verdict::Beyond:
            row.text = localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                                   "Beyond the tolerance, margin %1 %"))
                           .arg(margin);
            row.tone = Tone::Bad;
            break;
    }
    return row;
}

QList<ValueRow> ratingRows(const core_design::Design* d) {
    const rating::Turns* t = d && d->turns ? &*d->turns : nullptr;
    const auto text = [&](auto format) { return t ? format(*t) : QString(); };
    using Turns = rating::Turns;
    ValueRow ratio{"ratioError", ValueGroup::Rating,
                   localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Ratio error")),
                   text([](const Turns& x) { return fourPlaces(x.ratioErrorPercent, "%"); }),
                   Tone::Plain};
    if (t && t->ratioBeyondTolerance) {
        ratio.text += QLatin1Char(' ') +
                      localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                                  "(beyond the %1 % tolerance on the ratio)"))
                          .arg(shortest(rating::kRatioTolerancePercent));
        ratio.tone = Tone::Bad;
    }
    return {
        {"hvPhaseVoltage", ValueGroup::Rating,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "HV phase voltage")),
         text([](const Turns& x) { return twoPlaces(x.hvPhaseVoltage, "V"); })},
        {"lvPhaseVoltage", ValueGroup::Rating,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "LV phase voltage")),
         text([](const Turns& x) { return twoPlaces(x.lvPhaseVoltage, "V"); })},
        {"turns", ValueGroup::Rating,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Turns HV / LV")),
         text([](const Turns& x) {
             return QStringLiteral("%1 / %2").arg(x.hvTurns).arg(x.lvTurns);
         })},
        {"ratedVoltsPerTurn", ValueGroup::Rating,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Volts per turn")),
         text([](const Turns& x) { return fourPlaces(x.voltsPerTurn, "V"); })},
        ratio,
        {"netAreaRequired", ValueGroup::Rating,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Net area required")),
         text([](const Turns& x) { return twoPlaces(x.netAreaRequired, "cm²"); })},
        {"ratedFluxDensity", ValueGroup::Rating,
         localised(
             QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Flux density in this core")),
         t ? fourPlaces(d->loss.fluxDensity, "T") : QString()},
    };
}

// Why there is no I0: in English the core's words, which name the curve and
// what it lacks; in Chinese what to give instead.
QString refusalText(const core_design::Problem& refusal) {
    if (inChinese()) {
        switch (refusal.input) {
            case DesignInput::Grade:
                return localised(QT_TRANSLATE_NOOP(
                    "kalvitra::designer::Presentation",
                    "The grade gives no VA/kg: give a curve file with a third column of VA/kg."));
            case DesignInput::Curve:
                return localised(QT_TRANSLATE_NOOP(
                    "kalvitra::designer::Presentation",
                    "The curve gives no VA/kg: give a curve file with a third column of VA/kg."));
            case DesignInput::FluxDensity:
            case DesignInput::VoltsPerTurn:
                return localised(QT_TRANSLATE_NOOP(
                    "kalvitra::designer::Presentation",
                    "The flux density lies outside the joint curve, which is never "
                    "extrapolated."));
            case DesignInput::RatedPower:
                return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                                   "Give the rating for the no-load current."));
            default:
                break;
        }
    }
    return problemText(refusal, currentLanguage());
}

// I0, or why there is none.
QString currentText(const core_design::Design& d) {
    if (d.noLoadCurrentRefusal) {
        return refusalText(*d.noLoadCurrentRefusal);
    }
    return d.noLoadCurrent ? fourPlaces(*d.noLoadCurrent, "%") : QString();
}

// The joint curve used: the typical one in the window's words, or the file's name.
QString jointCurveText(const core_design::Design& d) {
    if (d.jointCurveName == workshop::typicalJointCurve().name) {
        return localised(
            QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Typical 45° joint curve"));
    }
    return QString::fromStdString(d.jointCurveName);
}

// The method applied, as the batch tool names it, its joints in the
// window's words.
QString methodText(const core_design::Design& d) {
    const char* joints = d.joints.kind == workshop::JointKind::StepLap
                             ? QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "step-lap")
                             : QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "mitred");
    return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "%1 (K_q=%2, %3)"))
        .arg(QString::fromUtf8(workshop::kApparentPowerFormula.data(),
                               static_cast<qsizetype>(workshop::kApparentPowerFormula.size())),
             QString::fromStdString(writeDefault(d.apparentPowerFactor)), localised(joints));
}

QString stepLapText(const core_design::Design& d) {
    if (!d.joints.stepLap) {
        return {};
    }
    return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                       "%1 steps per book, %2 sheets per step"))
        .arg(d.joints.stepLap->stepsPerBook)
        .arg(d.joints.stepLap->sheetsPerStep);
}

// The verdict on I0, or why there is none for the guarantee given.
ValueRow currentVerdictRow(const core_design::Design* d) {
    ValueRow row = verdictRow(
        "noLoadCurrentVerdict",
        localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "No-load current verdict")),
        d ? d->currentVerdict : std::nullopt);
    if (d && d->currentGuaranteed && d->noLoadCurrentRefusal) {
        row.text = refusalText(*d->noLoadCurrentRefusal);
    }
    return row;
}

QList<ValueRow> noLoadRows(const core_design::Design* d) {
    const workshop::ApparentPower* q = d && d->apparentPower ? &*d->apparentPower : nullptr;
    const auto power = [&](double workshop::ApparentPower::*value) {
        return q ? twoPlaces(q->*value, "VA") : QString();
    };
    QList<ValueRow> rows = {
        {"apparentPowerBody", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Apparent power, steel")),
         power(&workshop::ApparentPower::body)},
        {"apparentPowerJoints", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Apparent power, joints")),
         power(&workshop::ApparentPower::joints)},
        {"apparentPower", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Apparent power, total")),
         power(&workshop::ApparentPower::total)},
        {"noLoadCurrent", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "No-load current")),
         d ? currentText(*d) : QString()},
        {"method", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Method")),
         d ? methodText(*d) : QString()},
        {"jointCurveUsed", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Joint curve")),
         d ? jointCurveText(*d) : QString()},
        {"stepLapLayout", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Step-lap layout")),
         d ? stepLapText(*d) : QString()},
    };
    rows.append(verdictRow(
        "noLoadLossVerdict",
        localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "No-load loss verdict")),
        d ? d->lossVerdict : std::nullopt));
    rows.append(currentVerdictRow(d));
    rows.append(
        {"toleranceRule", ValueGroup::NoLoad,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Tolerance rule")),
         d ? localised(QT_TRANSLATE_NOOP(
                           "kalvitra::designer::Presentation",
                           "GB/T 1094.1 (IEC 60076-1): P0 +%1 %, I0 +%2 % above the guarantee"))
                 .arg(tolerancePercent(workshop::kNoLoadLossTolerance),
                      tolerancePercent(workshop::kNoLoadCurrentTolerance))
           : QString()});
    return rows;
}

}  // namespace

namespace {

QList<ValueRow> baseRows(const core_design::Design* d) {
    const auto text = [&](auto format) { return d ? format(*d) : QString(); };
    using Design = core_design::Design;
    return {
        {"grossArea", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Gross area")),
         text([](const Design& x) { return withUnit(x.sheet.textRef(Field::txmj), "cm²"); })},
        // Two net areas that differ: the steel as the stacks are cut, and the
        // calculator's gross area × stacking factor. Each has a name of its own.
        {"netArea", ValueGroup::Results,
         localised(
             QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Net area, stacks as cut")),
         text([](const Design& x) { return twoPlaces(x.netAreaCm2, "cm²"); })},
        {"netAreaOfGross", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                     "Net area, gross area × stacking factor")),
         text([](const Design& x) { return withUnit(x.sheet.textRef(Field::txjmj), "cm²"); })},
        {"idealStack", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Total stack, ideal")),
         text([](const Design& x) { return twoPlaces(x.idealStack, "mm"); })},
        {"stackAsCut", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Total stack, as cut")),
         text([](const Design& x) { return twoPlaces(x.stackAsCut, "mm"); })},
        {"utilisation", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Utilisation")),
         text([](const Design& x) { return withUnit(x.section.utilisationText, "%"); })},
        {"frameMass", ValueGroup::Results,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Frame mass")),
         text([](const Design& x) { return twoPlaces(x.frameMass, "kg"); })},
        {"calculatorWeight", ValueGroup::Conventions,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Calculator's weight")),
         text([](const Design& x) { return twoPlaces(x.calculatorWeight, "kg"); })},
        {"threeLimbsMass", ValueGroup::Conventions,
         localised(
             QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "3 limbs Hw + yokes 2C + D")),
         text([](const Design& x) { return twoPlaces(x.threeLimbsMass, "kg"); })},
        {"coreFluxDensity", ValueGroup::Loss,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Peak flux density")),
         text([](const Design& x) {
             return withUnit(writeDefault(std::round(x.loss.fluxDensity * 1e4) / 1e4), "T");
         })},
        {"specificLoss", ValueGroup::Loss,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Specific loss")),
         text([](const Design& x) {
             return withUnit(writeDefault(std::round(x.loss.specificLoss * 1e4) / 1e4), "W/kg") +
                    QStringLiteral(" (") + QString::fromStdString(x.curveName) + QLatin1Char(')');
         })},
        {"noLoadLoss", ValueGroup::Loss,
         localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "No-load loss")),
         text([](const Design& x) { return twoPlaces(x.loss.loss, "W"); })},
    };
}

}  // namespace

QList<ValueRow> valueRows(const core_design::Design* d) {
    QList<ValueRow> rows = baseRows(d);
    rows.append(ratingRows(d));
    rows.append(noLoadRows(d));
    return rows;
}

QString valueGroupTitle(ValueGroup group) {
    switch (group) {
        case ValueGroup::Results:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Results"));
        case ValueGroup::Conventions:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation",
                                               "Published conventions, not the frame as cut"));
        case ValueGroup::Loss:
            // Not "No-load loss", the name of the value itself.
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Loss figures"));
        case ValueGroup::Rating:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "Rating"));
        case ValueGroup::NoLoad:
            return localised(
                QT_TRANSLATE_NOOP("kalvitra::designer::Presentation", "No-load and guarantee"));
    }
    return {};
}

QStringList stageTableHeader() {
    return {columnHead(stageHeads().stage), columnHead(stageHeads().width),
            columnHead(stageHeads().thickness), columnHead(cutHeads().stack),
            columnHead(cutHeads().sheets)};
}

QList<QStringList> stageTableRows(const core_design::Design& design) {
    QList<QStringList> rows;
    for (std::size_t k = 0; k < design.stages.size(); ++k) {
        const core_design::StageRow& stage = design.stages[k];
        rows.append({QString::number(k + 1), shortest(stage.width),
                     QString::fromStdString(twoDecimals(stage.thickness)), shortest(stage.stack),
                     count(stage.sheets)});
    }
    return rows;
}

QStringList cutListHeader() {
    const workshop::CutListHeads& h = cutHeads();
    QStringList heads;
    for (const std::string_view head : {h.step, h.piece, h.width, h.shortLength, h.longLength,
                                        h.perLayer, h.stack, h.sheets, h.pieces, h.mass}) {
        heads.append(columnHead(head));
    }
    return heads;
}

QList<QStringList> cutListRows(const core_design::Design& design) {
    QList<QStringList> rows;
    for (const workshop::CutRow& row : design.cutList.rows) {
        rows.append({QString::number(row.step), pieceText(row.piece), shortest(row.width),
                     shortest(row.shortLength), shortest(row.longLength),
                     QString::number(row.perLayer), shortest(row.stack), count(row.sheets),
                     count(row.pieces), QString::fromStdString(twoDecimals(row.mass))});
    }
    return rows;
}

QList<QStringList> titleBlockRows(const core_design::Design& design) {
    QList<QStringList> rows;
    for (const drawing::TitleCell& cell :
         drawing::titleCells(design.section.titleBlock, currentLanguage())) {
        rows.append({columnHead(cell.label), QString::fromStdString(cell.value)});
    }
    return rows;
}

QList<QStringList> inputRowsOf(const DesignTexts& texts) {
    QList<QStringList> rows;
    for (const InputRow& row : inputRows()) {
        if (!isUsed(texts, row.input) && row.kind != InputKind::Choice) {
            continue;
        }
        QString value = texts.value(QLatin1String(row.key));
        if (row.kind == InputKind::Choice) {
            for (const Choice& choice : choicesOf(row)) {
                if (choice.key == value) {
                    value = choice.label;
                }
            }
        }
        rows.append({labelOf(row), value, QString::fromUtf8(row.unit)});
    }
    return rows;
}

}  // namespace kalvitra::designer
