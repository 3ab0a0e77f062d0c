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
    Text1,
    Text2,
    TXJS,
    D,
    H,
    M,
    Z,
    MD,
    dpxs,
    PK1,
    PK2,
    PK3,
    PK4,
    PK5,
    PK6,
    PK7,
    PK8,
    PK9,
    jh1,
    jh2,
    jh3,
    jh4,
    jh5,
    jh6,
    jh7,
    jh8,
    jh9,
    jh22,
    jh32,
    jh42,
    jh52,
    jh62,
    jh72,
    jh82,
    jh92,
    txmj,
    txjmj,
    dh,
    txz,
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
// Every field starts empty except MD, the steel density: "7.65".
std::string_view initialText(Field field);
FieldRole fieldRole(Field field);

// Stage rows, k = 1..9: width PKk, thickness jhk, second column jhk2 (k >= 2).
Field widthField(int stage);
Field thicknessField(int stage);
Field secondColumnField(int stage);

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
