#include "kalvitra/sheet/sheet.h"

#include <stdexcept>

namespace kalvitra {
namespace {

constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "Text1", "Text2", "TXJS", "D",    "H",    "M",    "Z",     "MD",   "dpxs", "PK1",
    "PK2",   "PK3",   "PK4",  "PK5",  "PK6",  "PK7",  "PK8",   "PK9",  "jh1",  "jh2",
    "jh3",   "jh4",   "jh5",  "jh6",  "jh7",  "jh8",  "jh9",   "jh22", "jh32", "jh42",
    "jh52",  "jh62",  "jh72", "jh82", "jh92", "txmj", "txjmj", "dh",   "txz"};

// Stage rows name a field by the stage's row label and the column's heading;
// the second packet's column has no heading of its own, so its label says
// which packet it is.
constexpr std::array<std::string_view, kFieldCount> kFieldLabels = {
    "产品型号",
    "工号",
    "级数",
    "铁心直径(mm)",
    "窗高(mm)",
    "中心距(mm)",
    "铁心柱数",
    "硅钢片密度",
    "叠片系数",
    "第一级 片宽",
    "第二级 片宽",
    "第三级 片宽",
    "第四级 片宽",
    "第五级 片宽",
    "第六级 片宽",
    "第七级 片宽",
    "第八级 片宽",
    "第九级 片宽",
    "第一级 级厚",
    "第二级 级厚",
    "第三级 级厚",
    "第四级 级厚",
    "第五级 级厚",
    "第六级 级厚",
    "第七级 级厚",
    "第八级 级厚",
    "第九级 级厚",
    "第二级 级厚（另一侧）",
    "第三级 级厚（另一侧）",
    "第四级 级厚（另一侧）",
    "第五级 级厚（另一侧）",
    "第六级 级厚（另一侧）",
    "第七级 级厚（另一侧）",
    "第八级 级厚（另一侧）",
    "第九级 级厚（另一侧）",
    "截面积(cm)",
    "净截面积(cm)",
    "总叠厚（mm）",
    "铁心重量(kg)",
};

// The index of text in names, as a field.
std::optional<Field> findIn(const std::array<std::string_view, kFieldCount>& names,
                            std::string_view text) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (names[i] == text) {
            return fieldAt(i);
        }
    }
    return std::nullopt;
}

void checkStage(int stage, int first) {
    if (stage < first || stage > kStageCount) {
        throw std::out_of_range("stage number out of range");
    }
}

}  // namespace

std::string_view fieldName(Field field) {
    return kFieldNames[indexOf(field)];
}

std::optional<Field> fieldByName(std::string_view name) {
    return findIn(kFieldNames, name);
}

std::string_view fieldLabel(Field field) {
    return kFieldLabels[indexOf(field)];
}

std::optional<Field> fieldByLabel(std::string_view label) {
    return findIn(kFieldLabels, label);
}

std::string_view initialText(Field field) {
    return field == Field::MD ? "7.65" : "";
}

FieldRole fieldRole(Field field) {
    if (field == Field::Text1 || field == Field::Text2 || field == Field::TXJS) {
        return FieldRole::FreeText;
    }
    return indexOf(field) >= indexOf(Field::jh1) ? FieldRole::Result : FieldRole::Input;
}

std::string stagePlace(int stage) {
    return "stage " + std::to_string(stage) + " (" + std::string(fieldName(widthField(stage))) +
           ")";
}

Field widthField(int stage) {
    checkStage(stage, 1);
    return fieldAt(indexOf(Field::PK1) + static_cast<std::size_t>(stage - 1));
}

Field thicknessField(int stage) {
    checkStage(stage, 1);
    return fieldAt(indexOf(Field::jh1) + static_cast<std::size_t>(stage - 1));
}

Field secondColumnField(int stage) {
    checkStage(stage, 2);
    return fieldAt(indexOf(Field::jh22) + static_cast<std::size_t>(stage - 2));
}

Sheet::Sheet() {
    reset();
}

// Out of line: GCC 12 inlines std::string::assign into callers and then
// raises a false -Wrestrict alarm on it.
void Sheet::setText(Field field, std::string_view text) {
    texts_[indexOf(field)].assign(text);
}

void Sheet::reset() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        texts_[i].assign(initialText(fieldAt(i)));
    }
}

}  // namespace kalvitra
