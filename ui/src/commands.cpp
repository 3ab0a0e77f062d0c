#include "kalvitra/ui/commands.h"

#include <utility>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/ui/controls.h"

namespace kalvitra::ui {
namespace {

// How the designer reads each kind of calculation error: its name, and a
// hint at its usual cause.
struct ErrorKindWords {
    const char16_t* name;
    const char16_t* likelyCause;
};

ErrorKindWords wordsFor(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::TypeMismatch:
            return {u"类型不匹配", u"需要数字的字段中不是一个数（例如截面积为空或带有单位）。"};
        case ErrorKind::Overflow:
            return {u"溢出", u"数值超出了计算范围。"};
        case ErrorKind::DivisionByZero:
            return {u"除数为零", u"计算中出现了以零作除数的除法。"};
        case ErrorKind::InvalidOperation:
            return {u"无效运算", u"计算中出现了没有结果的运算。"};
        case ErrorKind::InvalidArgument:
            return {u"无效参数",
                    u"负数不能开平方：请检查片宽是否大于铁心直径，或铁心直径是否为空。"};
    }
    return {u"计算错误", u""};
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A stage as its row label names it: "第三级". The rows are labelled Label9
// (stage 1) to Label17 (stage 9).
QString stageWords(int stage) {
    const ControlRow* row = findControl("Label" + std::to_string(8 + stage));
    return row ? fromUtf8(row->caption) : QString::number(stage);
}

// Where the calculation stopped, in the words of the window.
QString placeWords(const CalcError& error) {
    const CalcPlace place = error.place();
    const auto ofStage = [&](const char16_t* what) {
        return stageWords(place.stage) + QString::fromUtf16(what);
    };
    switch (place.step) {
        case CalcStep::ReadField:
            if (const std::optional<Field> field = error.field()) {
                if (const ControlRow* control = findControl(fieldName(*field))) {
                    return accessibleFieldName(*control);
                }
            }
            return QStringLiteral("读取字段");
        case CalcStep::StageSquares:
            return ofStage(u"：D² − 片宽²");
        case CalcStep::StageRoot:
            return ofStage(u"：开平方");
        case CalcStep::StageThickness:
            return ofStage(u"：级厚");
        case CalcStep::GrossArea:
            return QStringLiteral("截面积");
        case CalcStep::NetArea:
            return QStringLiteral("净截面积");
        case CalcStep::TotalStack:
            return QStringLiteral("总叠厚");
        case CalcStep::WeightYoke:
            return QStringLiteral("铁心重量：窗高 + 第一级片宽");
        case CalcStep::WeightOutline:
            return QStringLiteral("铁心重量，") + ofStage(u"：外框");
        case CalcStep::WeightWindows:
            return QStringLiteral("铁心重量，") + ofStage(u"：窗口");
        case CalcStep::WeightThickness:
            return QStringLiteral("铁心重量，") + ofStage(u"：两侧级厚之和");
        case CalcStep::WeightDensity:
            return QStringLiteral("铁心重量：叠片系数 × 硅钢片密度");
        case CalcStep::Weight:
            return QStringLiteral("铁心重量");
    }
    return {};
}

// What went wrong there, by kind.
const char16_t* faultWords(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::TypeMismatch:
            return u"不是一个数";
        case ErrorKind::Overflow:
            return u"数值超出计算范围";
        case ErrorKind::DivisionByZero:
            return u"除数为零";
        case ErrorKind::InvalidOperation:
            return u"运算没有结果";
        case ErrorKind::InvalidArgument:
            return u"负数不能开平方（片宽大于铁心直径）";
    }
    return u"";
}

}  // namespace

CommandRunner::CommandRunner(SheetAccess& sheet, PrintSheet print)
    : sheet_(sheet), print_(std::move(print)) {}

CommandOutcome CommandRunner::run(const Command& command) {
    using Status = CommandOutcome::Status;
    switch (command.kind) {
        case CommandKind::None:
            return {};
        case CommandKind::Exit:
            return {Status::ExitRequested, {}};
        case CommandKind::Print:
            if (std::optional<QString> problem = print_ ? print_() : std::nullopt) {
                return {Status::Failed, printErrorMessage(*problem)};
            }
            return {};
        case CommandKind::Calculate:
            try {
                runAction(command.action, sheet_);
            } catch (const CalcError& error) {
                return {Status::Failed, calculationErrorMessage(error)};
            } catch (const std::exception& error) {
                // Not a calculation error but a fault of the program itself:
                // still reported, so the designer keeps the window and its texts.
                return {Status::Failed, internalErrorMessage(error)};
            }
            return {};
    }
    return {};
}

QString errorKindText(ErrorKind kind) {
    return QString::fromUtf16(wordsFor(kind).name);
}

QString calculationErrorMessage(const CalcError& error) {
    // Point at the field by the words the designer sees beside it.
    QString where;
    if (const std::optional<Field> field = error.field()) {
        if (const ControlRow* control = findControl(fieldName(*field))) {
            where = QStringLiteral("出错的字段：%1\n").arg(accessibleFieldName(*control));
        }
    }
    const QString detail = placeWords(error) + u'：' + QString::fromUtf16(faultWords(error.kind()));
    return QStringLiteral("计算出错：%1\n\n%2\n\n%3详细信息：%4\n已算出的结果保留在窗口中。")
        .arg(errorKindText(error.kind()), QString::fromUtf16(wordsFor(error.kind()).likelyCause),
             where, detail);
}

QString internalErrorMessage(const std::exception& error) {
    return QStringLiteral("计算出错：程序内部错误\n\n详细信息：%1")
        .arg(QString::fromUtf8(error.what()));
}

QString printErrorMessage(const QString& problem) {
    return QStringLiteral("打印出错：%1").arg(problem);
}

}  // namespace kalvitra::ui
