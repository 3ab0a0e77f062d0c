#include "kalvitra/ui/controls.h"

#include <algorithm>
#include <array>

namespace kalvitra::ui {
namespace {

constexpr ControlRow label(std::string_view name, std::string_view caption, TwipRect at, int tab,
                           Look look = Look::Plain) {
    return {.kind = ControlKind::Label,
            .name = name,
            .caption = caption,
            .field = std::nullopt,
            .twips = at,
            .tabIndex = tab,
            .look = look};
}

constexpr ControlRow field(Field field, TwipRect at, int tab) {
    return {.kind = ControlKind::TextField,
            .name = {},
            .caption = {},
            .field = field,
            .twips = at,
            .tabIndex = tab};
}

constexpr ControlRow button(std::string_view name, std::string_view caption, TwipRect at, int tab,
                            Command command = {}) {
    return {.kind = ControlKind::Button,
            .name = name,
            .caption = caption,
            .field = std::nullopt,
            .twips = at,
            .tabIndex = tab,
            .command = command};
}

constexpr Command calculate(Action action) {
    return {CommandKind::Calculate, action};
}
constexpr Command kPrint{CommandKind::Print};
constexpr Command kExit{CommandKind::Exit};

// The stage table repeats per row: label at 4560, width at 5640, thickness at
// 7440, second packet at 8760; rows 480 twips apart from 2640.
constexpr std::array<ControlRow, kControlCount> kControls = {{
    // Title banner
    label("Label2", "Kalvitra v" KALVITRA_CALCULATOR_CAPTION_VERSION " ", {2640, 360, 3855, 495}, 0,
          Look::Banner),

    // Job identification
    label("Label3", "产品型号：", {480, 1320, 975, 255}, 1, Look::Heading),
    field(Field::Text1, {2160, 1320, 1815, 375}, 2),
    label("Label1", "工号：", {480, 1920, 1095, 255}, 3, Look::Heading),
    field(Field::Text2, {2160, 1800, 1815, 375}, 4),

    // Steel density and number of stages
    label("Label19", "硅钢片密度：", {5520, 1200, 1335, 375}, 33),
    field(Field::MD, {6960, 1200, 975, 375}, 34),
    label("Label5", "级数：", {5640, 1680, 975, 255}, 7),
    field(Field::TXJS, {6960, 1680, 975, 375}, 8),

    // Core data
    label("Label4", "铁心直径(mm)：", {480, 2400, 1455, 375}, 5),
    field(Field::D, {2400, 2400, 1335, 375}, 6),
    label("Label8", "窗高(mm)：", {480, 3000, 1095, 375}, 12),
    field(Field::H, {2400, 3000, 1335, 375}, 13),
    label("Label18", "中心距(mm)：", {480, 3600, 1215, 375}, 31),
    field(Field::M, {2400, 3600, 1335, 375}, 32),
    label("Label20", "铁心柱数：", {480, 4200, 1215, 375}, 35),
    field(Field::Z, {2400, 4200, 1335, 375}, 36),
    label("Label7", "叠片系数：", {480, 4680, 1215, 375}, 54),
    field(Field::dpxs, {2400, 4680, 1335, 375}, 55),

    // Results: each button computes the field to its right
    button("铁心重量", "铁心重量(kg)：", {600, 5280, 1335, 375}, 47, calculate(Action::CoreWeight)),
    field(Field::txz, {2160, 5280, 1575, 375}, 11),
    button("jmj", "截面积(cm):", {600, 5760, 1335, 375}, 56, calculate(Action::GrossArea)),
    field(Field::txmj, {2160, 5760, 1575, 375}, 57),
    button("Command3", "净截面积(cm):", {600, 6240, 1335, 375}, 52, calculate(Action::NetArea)),
    field(Field::txjmj, {2160, 6240, 1575, 375}, 53),
    button("zdh", "总叠厚（mm）", {600, 6720, 1335, 375}, 66, calculate(Action::TotalStack)),
    field(Field::dh, {2160, 6720, 1575, 375}, 67),

    // Stage table: column heads, then one row per stage
    label("Label6", "片宽：", {5640, 2160, 735, 375}, 9),
    button("jh", "级厚", {7440, 2160, 1215, 375}, 46, calculate(Action::StageThicknesses)),

    label("Label9", "第一级", {4560, 2640, 855, 375}, 14),
    field(Field::PK1, {5640, 2640, 1575, 375}, 10),
    field(Field::jh1, {7440, 2640, 975, 375}, 37),

    label("Label10", "第二级", {4560, 3120, 855, 375}, 16),
    field(Field::PK2, {5640, 3120, 1575, 375}, 15),
    field(Field::jh2, {7440, 3120, 975, 375}, 38),
    field(Field::jh22, {8760, 3120, 975, 375}, 58),

    label("Label11", "第三级", {4560, 3600, 855, 375}, 18),
    field(Field::PK3, {5640, 3600, 1575, 375}, 17),
    field(Field::jh3, {7440, 3600, 975, 375}, 39),
    field(Field::jh32, {8760, 3600, 975, 375}, 59),

    label("Label12", "第四级", {4560, 4080, 855, 375}, 20),
    field(Field::PK4, {5640, 4080, 1575, 375}, 19),
    field(Field::jh4, {7440, 4080, 975, 375}, 40),
    field(Field::jh42, {8760, 4080, 975, 375}, 60),

    label("Label13", "第五级", {4560, 4560, 855, 375}, 22),
    field(Field::PK5, {5640, 4560, 1575, 375}, 21),
    field(Field::jh5, {7440, 4560, 975, 375}, 41),
    field(Field::jh52, {8760, 4560, 975, 375}, 61),

    label("Label14", "第六级", {4560, 5040, 855, 375}, 24),
    field(Field::PK6, {5640, 5040, 1575, 375}, 23),
    field(Field::jh6, {7440, 5040, 975, 375}, 42),
    field(Field::jh62, {8760, 5040, 975, 375}, 62),

    label("Label15", "第七级", {4560, 5520, 855, 375}, 26),
    field(Field::PK7, {5640, 5520, 1575, 375}, 25),
    field(Field::jh7, {7440, 5520, 975, 375}, 43),
    field(Field::jh72, {8760, 5520, 975, 375}, 63),

    label("Label16", "第八级", {4560, 6000, 855, 375}, 28),
    field(Field::PK8, {5640, 6000, 1575, 375}, 27),
    field(Field::jh8, {7440, 6000, 975, 375}, 44),
    field(Field::jh82, {8760, 6000, 975, 375}, 64),

    label("Label17", "第九级", {4560, 6480, 855, 375}, 30),
    field(Field::PK9, {5640, 6480, 1575, 375}, 29),
    field(Field::jh9, {7440, 6480, 975, 375}, 45),
    field(Field::jh92, {8760, 6480, 975, 375}, 65),

    // Command row. 保存 and 清除 have no command, and pressing them changes
    // nothing: the sheet is never saved, and no command clears it (each
    // calculation overwrites its own results). The designers know them as
    // they are, so they stay on the sheet and in the tab order.
    button("保存", "保存", {2520, 7200, 1455, 375}, 48),
    button("打印", "打印", {4320, 7200, 1335, 375}, 50, kPrint),
    button("Command2", "清除", {6000, 7200, 1455, 375}, 49),
    button("exit", "退出", {7800, 7200, 1335, 375}, 51, kExit),
}};

// Mistakes in the table that would only show as a misplaced control or a
// broken focus chain are caught while compiling.
consteval bool tabIndicesAreAPermutation() {
    std::array<bool, kControlCount> seen{};
    for (const ControlRow& control : kControls) {
        const auto index = static_cast<std::size_t>(control.tabIndex);
        if (control.tabIndex < 0 || index >= kControlCount || seen[index]) {
            return false;
        }
        seen[index] = true;
    }
    return true;
}
static_assert(tabIndicesAreAPermutation(), "every tab index 0..67 exactly once");

consteval bool placesAreWholePixels() {
    for (const ControlRow& control : kControls) {
        const TwipRect& r = control.twips;
        for (int twips : {r.left, r.top, r.width, r.height}) {
            if (twips % kTwipsPerPixel != 0) {
                return false;
            }
        }
    }
    return kClientWidthTwips % kTwipsPerPixel == 0 && kClientHeightTwips % kTwipsPerPixel == 0;
}
static_assert(placesAreWholePixels(), "the design is laid out on whole pixels");

consteval bool everyFieldOnce() {
    std::array<int, kFieldCount> count{};
    for (const ControlRow& control : kControls) {
        if ((control.kind == ControlKind::TextField) != control.field.has_value()) {
            return false;
        }
        if (control.field) {
            ++count[indexOf(*control.field)];
        }
    }
    return std::ranges::all_of(count, [](int n) { return n == 1; });
}
static_assert(everyFieldOnce(), "each field of the sheet is one text field of the window");

}  // namespace

QRect toPixels(const TwipRect& twips) {
    return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
            twips.height / kTwipsPerPixel};
}

QSize clientSize() {
    return {kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel};
}

std::span<const ControlRow> controlTable() {
    return kControls;
}

std::string_view controlName(const ControlRow& control) {
    return control.field ? fieldName(*control.field) : control.name;
}

QString controlQName(const ControlRow& control) {
    const std::string_view name = controlName(control);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString initialCaption(const ControlRow& control) {
    const std::string_view text = control.field ? initialText(*control.field) : control.caption;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString accessibleFieldName(const ControlRow& control) {
    const std::string_view label = fieldLabel(*control.field);
    return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
}

const ControlRow* findControl(std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    const auto found = std::ranges::find_if(
        kControls, [name](const ControlRow& control) { return controlName(control) == name; });
    return found == kControls.end() ? nullptr : &*found;
}

bool hasInputBackground(Field field) {
    return fieldRole(field) != FieldRole::Result;
}

}  // namespace kalvitra::ui
