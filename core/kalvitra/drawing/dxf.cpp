// The drawings for a CAD program: a small writer of DXF group codes, and the
// section and the cut list written through it.

#include "kalvitra/drawing/dxf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

#include "kalvitra/drawing/title_block.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"
#include "kalvitra/workshop/pieces.h"

namespace kalvitra::dxf {
namespace {

using drawing::Anchor;
using drawing::Language;
using drawing::Mark;
using drawing::MarkRole;
using workshop::CutList;
using workshop::CutRow;
using workshop::Piece;

// A point of the file: millimetres, y up.
struct Point {
    double x = 0;
    double y = 0;
};

// The rectangle that holds everything drawn, for $EXTMIN and $EXTMAX.
struct Box {
    double left = std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();

    void cover(Point p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
};

// A TEXT's height is that of its capitals; the drawing model gives the em.
constexpr double kCapHeight = 0.7;

// The texts' style, by the Chinese drafting convention: the shape font of
// GB letters and digits with the big font of GB Chinese characters, which
// AutoCAD and ZWCAD installations in China carry. A program without them
// falls back to a font of its own.
constexpr std::string_view kTextStyle = "GB";
constexpr std::string_view kShapeFont = "gbenor.shx";
constexpr std::string_view kBigFont = "gbcbig.shx";

struct Layer {
    std::string_view name;
    int colour;  // AutoCAD colour index
};

void appendCodePoint(std::string& out, std::uint32_t code) {
    constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(code >> shift) & 0xF];
    }
}

// The text of a TEXT entity, all in ASCII so that no code page takes part:
// every other character as \U+XXXX; a backslash the same way, so that no
// text starts an escape of its own; a percent sign followed by another the
// same way, so that no text starts a %% control code (a lone one is plain
// text to every reader); control characters (which would end the value's
// line) and characters beyond U+FFFF, which \U+ cannot name, as U+FFFD.
std::string dxfText(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = decodeUtf8(text, at);
        const bool percentPair = c.value == '%' && at + 1 < text.size() && text[at + 1] == '%';
        if (c.value >= 0x20 && c.value < 0x7F && c.value != '\\' && !percentPair) {
            out += static_cast<char>(c.value);
        } else {
            appendCodePoint(out, c.value < 0x20 || c.value == 0x7F || c.value > 0xFFFF
                                     ? 0xFFFD
                                     : static_cast<std::uint32_t>(c.value));
        }
        at += c.length;
    }
    return out;
}

// Writes the group codes: each code right-aligned in three columns on its
// line, its value on the next, as AutoCAD writes them.
class Writer {
public:
    void group(int code, std::string_view value) {
        out_ += code < 10 ? "  " : code < 100 ? " " : "";
        out_ += std::to_string(code);
        out_ += '\n';
        out_ += value;
        out_ += '\n';
    }
    // The shortest text that reads back as the same double; + 0.0 turns a
    // negative zero into 0.
    void number(int code, double value) { group(code, writeShortest(value + 0.0)); }
    void point(int code, Point p) {
        number(code, p.x);
        number(code + 10, p.y);
    }

    void header(const Box& extent) {
        section("HEADER");
        variable("$ACADVER");
        group(1, "AC1009");
        variable("$EXTMIN");
        point(10, {extent.left, extent.bottom});
        number(30, 0);
        variable("$EXTMAX");
        point(10, {extent.right, extent.top});
        number(30, 0);
        group(0, "ENDSEC");
    }

    // The LAYER table, then the STYLE table: STANDARD, which every file must
    // have, and the style the texts use.
    void tables(std::span<const Layer> layers) {
        section("TABLES");
        group(0, "TABLE");
        group(2, "LAYER");
        group(70, std::to_string(layers.size()));
        for (const Layer& layer : layers) {
            group(0, "LAYER");
            group(2, layer.name);
            group(70, "0");
            group(62, std::to_string(layer.colour));
            group(6, "CONTINUOUS");
        }
        group(0, "ENDTAB");
        group(0, "TABLE");
        group(2, "STYLE");
        group(70, "2");
        textStyle("STANDARD", "txt", "");
        textStyle(kTextStyle, kShapeFont, kBigFont);
        group(0, "ENDTAB");
        group(0, "ENDSEC");
        section("ENTITIES");
    }

    void circle(std::string_view layer, Point centre, double radius) {
        entity("CIRCLE", layer);
        point(10, centre);
        number(40, radius);
    }

    // A POLYLINE of vertices, closed (70 = 1) or open.
    void polyline(std::string_view layer, std::span<const Point> vertices, bool closed) {
        entity("POLYLINE", layer);
        group(66, "1");
        point(10, {0, 0});
        number(30, 0);
        group(70, closed ? "1" : "0");
        for (const Point& vertex : vertices) {
            entity("VERTEX", layer);
            point(10, vertex);
        }
        entity("SEQEND", layer);
    }

    // Capitals capHeight high; anchored at its start or its end.
    void text(std::string_view layer, Point at, double capHeight, Anchor anchor,
              std::string_view content) {
        entity("TEXT", layer);
        point(10, at);
        number(40, capHeight);
        group(1, dxfText(content));
        group(7, kTextStyle);
        if (anchor == Anchor::End) {
            group(72, "2");
            point(11, at);
        }
    }

    std::string finish() {
        group(0, "ENDSEC");
        group(0, "EOF");
        return std::move(out_);
    }

private:
    void section(std::string_view name) {
        group(0, "SECTION");
        group(2, name);
    }
    void variable(std::string_view name) { group(9, name); }
    // Not fixed in height, width factor 1, upright, not mirrored.
    void textStyle(std::string_view name, std::string_view font, std::string_view bigFont) {
        group(0, "STYLE");
        group(2, name);
        group(70, "0");
        number(40, 0);
        number(41, 1);
        number(50, 0);
        group(71, "0");
        number(42, 2.5);
        group(3, font);
        group(4, bigFont);
    }
    void entity(std::string_view type, std::string_view layer) {
        group(0, type);
        group(8, layer);
    }

    std::string out_;
};

// ---- the section ----------------------------------------------------------

// The outlines in colour 7, which prints black on paper and shows white on a
// dark screen.
constexpr Layer kSectionLayers[] = {
    {"OUTLINE", 7}, {"PACKETS", 7}, {"CENTRE", 1}, {"LEADERS", 8}, {"TEXT", 7}, {"TITLE", 7},
};

// The model's page is y down.
Point up(drawing::Point p) {
    return {p.x, 0.0 - p.y};
}

void writeMark(Writer& writer, const Mark& mark) {
    switch (mark.role) {
        case MarkRole::Outline:
            writer.circle("OUTLINE", up(mark.at), mark.radius);
            return;
        case MarkRole::Packet: {
            const double left = mark.at.x;
            const double right = mark.at.x + mark.width;
            const double top = 0.0 - mark.at.y;
            const double bottom = 0.0 - (mark.at.y + mark.height);
            const Point corners[] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
            writer.polyline("PACKETS", corners, true);
            return;
        }
        case MarkRole::CentreLine:
        case MarkRole::TableRule:
        case MarkRole::Leader: {
            const Point ends[] = {up(mark.at), up(mark.to)};
            writer.polyline(mark.role == MarkRole::CentreLine ? "CENTRE" : "LEADERS", ends, false);
            return;
        }
        case MarkRole::LeaderEnd:
            writer.circle("LEADERS", up(mark.at), mark.radius);
            return;
        case MarkRole::TitleBlockRule: {
            const Point ends[] = {up(mark.at), up(mark.to)};
            writer.polyline("TITLE", ends, false);
            return;
        }
        case MarkRole::TitleBlockCell:
            writer.text("TITLE", up(mark.at), kCapHeight * mark.size, mark.anchor, mark.text);
            return;
        default:
            writer.text("TEXT", up(mark.at), kCapHeight * mark.size, mark.anchor, mark.text);
    }
}

// ---- the cut list ---------------------------------------------------------

constexpr Layer kCutListLayers[] = {{"PIECES", 7}, {"LABELS", 7}};
constexpr Piece kPieces[] = {Piece::OuterLimb, Piece::CentreLimb, Piece::Yoke};

std::string_view pieceWord(Piece piece, Language language) {
    const workshop::PieceNames& names = workshop::namesOf(piece);
    return language == Language::Chinese ? names.chinese : names.english;
}

// "step 5 outer limb 120 × 830/1070, 2 per layer, 104 pieces"
std::string labelOf(const CutRow& row, Language language) {
    const std::string size = twoDecimals(row.width) + " \u00D7 " + twoDecimals(row.shortLength) +
                             "/" + twoDecimals(row.longLength);
    const std::string perLayer = std::to_string(row.perLayer);
    const std::string piece(pieceWord(row.piece, language));
    if (language == Language::Chinese) {
        std::string label = "第 " + std::to_string(row.step) + " 级 " + piece + " " + size +
                            "，每层 " + perLayer + " 片";
        return row.pieces ? label + "，共 " + std::to_string(*row.pieces) + " 片" : label;
    }
    std::string label = "step " + std::to_string(row.step) + " " + piece + " " + size + ", " +
                        perLayer + " per layer";
    return row.pieces ? label + ", " + std::to_string(*row.pieces) + " pieces" : label;
}

// ", step-lap joints, 6 steps per book, 2 sheets per step" after "Cut list",
// in the language's words; nothing for mitred joints.
std::string jointWords(const workshop::JointLayout& joints, Language language) {
    if (joints.kind != workshop::JointKind::StepLap) {
        return {};
    }
    const bool chinese = language == Language::Chinese;
    std::string words = chinese ? "（步进搭接" : ", step-lap joints";
    if (joints.stepLap) {
        const std::string steps = std::to_string(joints.stepLap->stepsPerBook);
        const std::string sheets = std::to_string(joints.stepLap->sheetsPerStep);
        words += chinese ? "，每叠 " + steps + " 步，每步 " + sheets + " 片"
                         : ", " + steps + " steps per book, " + sheets + " sheets per step";
    }
    return chinese ? words + "）" : words;
}

std::string titleOf(const CutList& list, Language language, const workshop::JointLayout& joints) {
    const std::string d = twoDecimals(list.section.diameter);
    const std::string limbs = std::to_string(list.frame.limbs);
    const std::string c = twoDecimals(list.frame.centreDistance);
    const std::string l = twoDecimals(list.limbLength);
    if (language == Language::Chinese) {
        return "剪切清单" + jointWords(joints, language) + "：D = " + d + " mm，" + limbs +
               " 柱，中心距 " + c + " mm，L = " + l + " mm；每种片各画一片，长度单位 mm";
    }
    return "Cut list" + jointWords(joints, language) + ": D = " + d + " mm, " + limbs +
           " limbs, C = " + c + " mm, L = " + l + " mm; one of each piece, lengths in mm";
}

struct PlacedText {
    Point at;
    double em = 0;
    std::string text;
};

struct Layout {
    std::vector<std::vector<Point>> outlines;  // one per row of the list
    std::vector<PlacedText> texts;
    std::vector<std::array<Point, 2>> rules;  // the title block's
    Box extent;
    double em = 0;  // of the labels

    void add(PlacedText text) {
        const double width = drawing::textWidthEm(text.text) * text.em;
        extent.cover({text.at.x, text.at.y - 0.25 * text.em});
        extent.cover({text.at.x + width, text.at.y + 0.75 * text.em});
        texts.push_back(std::move(text));
    }
};

// The pieces in a column per kind (outer limbs, centre limbs, yokes) and a
// band per step, every piece's long edge at the foot of its band with its
// label above it. A band is as high as the step is wide, and a column as wide
// as its longest piece or label, so nothing overlaps.
Layout layOut(const CutList& list, Language language, const workshop::JointLayout& joints) {
    double longest = 0;
    for (const CutRow& row : list.rows) {
        longest = std::max(longest, row.longLength);
    }
    const double em = longest / 40;

    Layout sheet;
    sheet.em = em;
    sheet.add({{0, 0}, 1.2 * em, titleOf(list, language, joints)});
    std::array<double, std::size(kPieces)> columnLeft{};
    double left = 0;
    for (std::size_t c = 0; c < std::size(kPieces); ++c) {
        double width = 0;
        for (const CutRow& row : list.rows) {
            if (row.piece == kPieces[c]) {
                width = std::max(
                    {width, row.longLength, drawing::textWidthEm(labelOf(row, language)) * em});
            }
        }
        columnLeft[c] = left;
        left += width > 0 ? width + 2 * em : 0;
    }

    double cursor = -1.5 * em;
    for (std::size_t step = 0; step < list.section.widths.size(); ++step) {
        const double width = list.section.widths[step];
        const double foot = cursor - 1.4 * em - width;
        for (const CutRow& row : list.rows) {
            if (row.step != static_cast<int>(step) + 1) {
                continue;
            }
            const std::size_t c = static_cast<std::size_t>(
                std::find(std::begin(kPieces), std::end(kPieces), row.piece) - std::begin(kPieces));
            std::vector<Point>& outline = sheet.outlines.emplace_back();
            for (const workshop::Vertex& v : workshop::pieceOutline(list, row)) {
                outline.push_back({columnLeft[c] + v.x, foot + v.y});
                sheet.extent.cover(outline.back());
            }
            sheet.add({{columnLeft[c], cursor - em}, em, labelOf(row, language)});
        }
        cursor = foot - em;
    }
    return sheet;
}

// The title block under the pieces, its right edge at theirs; the layout's
// y is up, the block's down.
void addTitleBlock(Layout& sheet, const drawing::TitleBlock& block, Language language) {
    const double em = sheet.em;
    const drawing::TitleBlockLayout placed =
        drawing::layOutTitleBlock(drawing::titleCells(block, language),
                                  {sheet.extent.right, 0.0 - (sheet.extent.bottom - 2 * em)}, em);
    for (const drawing::TitleBlockLayout::Rule& rule : placed.rules) {
        sheet.rules.push_back({{{rule.from.x, 0.0 - rule.from.y}, {rule.to.x, 0.0 - rule.to.y}}});
    }
    for (const std::array<Point, 2>& rule : sheet.rules) {
        sheet.extent.cover(rule[0]);
        sheet.extent.cover(rule[1]);
    }
    for (const drawing::TitleBlockLayout::Text& text : placed.texts) {
        sheet.add({{text.baseline.x, 0.0 - text.baseline.y}, em, text.text});
    }
}

}  // namespace

std::string writeSectionDxf(const drawing::SectionDrawing& drawing) {
    const drawing::Extent& e = drawing.extent;
    Box extent;
    extent.cover({e.left, 0.0 - e.bottom});
    extent.cover({e.right, 0.0 - e.top});
    Writer writer;
    writer.header(extent);
    writer.tables(kSectionLayers);
    for (const Mark& mark : drawing.marks) {
        writeMark(writer, mark);
    }
    return writer.finish();
}

std::string writeCutListDxf(const CutList& list, Language language,
                            const drawing::TitleBlock& block, const workshop::JointLayout& joints) {
    Layout sheet = layOut(list, language, joints);
    addTitleBlock(sheet, block, language);
    Writer writer;
    writer.header(sheet.extent);
    writer.tables(kCutListLayers);
    for (const std::vector<Point>& outline : sheet.outlines) {
        writer.polyline("PIECES", outline, true);
    }
    for (const std::array<Point, 2>& rule : sheet.rules) {
        writer.polyline("LABELS", rule, false);
    }
    for (const PlacedText& text : sheet.texts) {
        writer.text("LABELS", text.at, kCapHeight * text.em, Anchor::Start, text.text);
    }
    return writer.finish();
}

}  // namespace kalvitra::dxf
