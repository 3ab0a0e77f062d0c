#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvitra {

// The 39 named fields of the calculation sheet. The enumeration order is the
// order in which the batch tool lists a sheet.
enum class Field : std::uint8_t {
    Text1,  // product model, free text
    Text2,  // job number, free text
    TXJS,   // number of stages, free text: every action takes all nine
    D,      // core diameter, mm: the circle the stepped section fills
    H,      // window height, mm
    M,      // centre distance between neighbouring limbs, mm
    Z,      // number of core limbs
    MD,     // density of the silicon steel, g/cm³ (starts as 7.65)
    dpxs,   // stacking factor: share of steel in the stack, a plain fraction
    PK1,    // lamination width of stage 1, mm
    PK2,    // lamination width of stage 2, mm
    PK3,    // lamination width of stage 3, mm
    PK4,    // lamination width of stage 4, mm
    PK5,    // lamination width of stage 5, mm
    PK6,    // lamination width of stage 6, mm
    PK7,    // lamination width of stage 7, mm
    PK8,    // lamination width of stage 8, mm
    PK9,    // lamination width of stage 9, mm
    jh1,    // thickness of the centre packet (stage 1), mm
    jh2,    // thickness of one packet of stage 2, mm
    jh3,    // thickness of one packet of stage 3, mm
    jh4,    // thickness of one packet of stage 4, mm
    jh5,    // thickness of one packet of stage 5, mm
    jh6,    // thickness of one packet of stage 6, mm
    jh7,    // thickness of one packet of stage 7, mm
    jh8,    // thickness of one packet of stage 8, mm
    jh9,    // thickness of one packet of stage 9, mm
    jh22,   // thickness of the other packet of stage 2, mm
    jh32,   // thickness of the other packet of stage 3, mm
    jh42,   // thickness of the other packet of stage 4, mm
    jh52,   // thickness of the other packet of stage 5, mm
    jh62,   // thickness of the other packet of stage 6, mm
    jh72,   // thickness of the other packet of stage 7, mm
    jh82,   // thickness of the other packet of stage 8, mm
    jh92,   // thickness of the other packet of stage 9, mm
    txmj,   // gross cross-section area of the limb, cm²
    txjmj,  // net cross-section area (steel only), cm²
    dh,     // total stack thickness, mm
    txz,    // core weight, kg
};

inline constexpr std::size_t kFieldCount = 39;
inline constexpr int kStageCount = 9;

// How the window presents a field: typed-in data, computed results, or free
// text that no calculation reads (product model, job number, stage count).
enum class FieldRole { FreeText, Input, Result };

// Name as the designer and the batch tool spell it: Field::jh22 -> "jh22".
std::string_view fieldName(Field field);
// Case-sensitive inverse of fieldName: "PK3" -> Field::PK3, "pk3" -> nullopt.
std::optional<Field> fieldByName(std::string_view name);
// The field as the window labels it, in the designer's own Chinese: the
// captions beside it without their colons, e.g. D -> "铁心直径(mm)",
// PK1 -> "第一级 片宽", jh22 -> "第二级 级厚（另一侧）". The window names its
// fields with it, and a table's columns may be headed with it.
std::string_view fieldLabel(Field field);
// Exact inverse of fieldLabel.
std::optional<Field> fieldByLabel(std::string_view label);
// Every field starts empty except MD, the steel density: "7.65".
std::string_view initialText(Field field);
FieldRole fieldRole(Field field);

// Stage rows, k = 1..9: width PKk, thickness jhk, second column jhk2 (k >= 2).
Field widthField(int stage);
Field thicknessField(int stage);
Field secondColumnField(int stage);
// A stage as messages name it: 3 -> "stage 3 (PK3)".
std::string stagePlace(int stage);

inline constexpr std::size_t indexOf(Field field) {
    return static_cast<std::size_t>(field);
}
inline constexpr Field fieldAt(std::size_t index) {
    return static_cast<Field>(index);
}

// What the calculations need of a sheet: the text of a field, and replacing
// it. The window puts its own text fields behind this interface, so every
// write of an action, partial writes before an error included, shows at once.
class SheetAccess {
public:
    virtual ~SheetAccess() = default;
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, std::string_view text) = 0;
};

// A sheet held in memory, used by the batch tool and the tests.
class Sheet final : public SheetAccess {
public:
    Sheet();  // every field at its initial text

    std::string text(Field field) const override { return texts_[indexOf(field)]; }
    void setText(Field field, std::string_view text) override;

    const std::string& textRef(Field field) const { return texts_[indexOf(field)]; }
    void reset();  // back to the initial texts, keeping allocated storage

    friend bool operator==(const Sheet& a, const Sheet& b) { return a.texts_ == b.texts_; }

private:
    std::array<std::string, kFieldCount> texts_;
};

}  // namespace kalvitra
