#include "kalvitra/drawing/section_drawing.h"

#include <algorithm>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/stage_table.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::drawing {
namespace {

// The words on a drawing, per language.
struct Words {
    StageTableHeads heads;
    std::string_view grossArea;    // before the number
    std::string_view utilisation;  // before the number
    std::string_view caption;      // before "D = ..."
    std::string (*stageCount)(int stages);
};

constexpr Words kEnglish = {
    kEnglishStageTableHeads,
    "gross area ",
    "utilisation ",
    "Core section, ",
    [](int stages) {
        return std::to_string(stages) + (stages == 1 ? " stage" : " stages") + ", lengths in mm";
    },
};

constexpr Words kChinese = {
    kChineseStageTableHeads,
    "截面积 ",
    "填充系数 ",
    "铁心截面，",
    [](int stages) { return "共 " + std::to_string(stages) + " 级，长度单位 mm"; },
};

const Words& wordsOf(Language language) {
    return language == Language::Chinese ? kChinese : kEnglish;
}

// Collects the marks in drawing order and grows the extent with them.
class MarkList {
public:
    explicit MarkList(SectionDrawing& drawing) : drawing_(drawing) {}

    void cover(double x, double y) {
        Extent& e = drawing_.extent;
        e.left = std::min(e.left, x);
        e.right = std::max(e.right, x);
        e.top = std::min(e.top, y);
        e.bottom = std::max(e.bottom, y);
    }
    void outline(double radius) {
        Mark& mark = add(MarkRole::Outline, 0);
        mark.radius = radius;
        cover(-radius, -radius);
        cover(radius, radius);
    }
    void packet(int stage, double left, double top, double width, double height) {
        Mark& mark = add(MarkRole::Packet, stage);
        mark.at = {left, top};
        mark.width = width;
        mark.height = height;
        cover(left, top);
        cover(left + width, top + height);
    }
    void line(MarkRole role, int stage, Point from, Point to) {
        Mark& mark = add(role, stage);
        mark.at = from;
        mark.to = to;
        cover(from.x, from.y);
        cover(to.x, to.y);
    }
    // Small enough to stay inside what its leader covers.
    void dot(int stage, Point centre, double radius) {
        Mark& mark = add(MarkRole::LeaderEnd, stage);
        mark.at = centre;
        mark.radius = radius;
    }
    void text(MarkRole role, int stage, Point baseline, double size, Anchor anchor,
              std::string content) {
        const double width = textWidthEm(content) * size;
        const double left = anchor == Anchor::End ? baseline.x - width : baseline.x;
        cover(left, baseline.y - size);
        cover(left + width, baseline.y + 0.3 * size);
        Mark& mark = add(role, stage);
        mark.at = baseline;
        mark.size = size;
        mark.anchor = anchor;
        mark.text = std::move(content);
    }

private:
    Mark& add(MarkRole role, int stage) {
        Mark& mark = drawing_.marks.emplace_back();
        mark.role = role;
        mark.stage = stage;
        return mark;
    }
    SectionDrawing& drawing_;
};

// The circle, then the packets: stage 1 across the centre, every later stage
// once above and once below the stages before it. Returns where the middle of
// each stage's upper packet is, for its leader.
std::vector<double> placePackets(const SectionDrawing& drawing, MarkList& marks) {
    marks.outline(drawing.diameter / 2);
    std::vector<double> upperMiddle(drawing.stages.size());
    double above = 0;  // reach of the stack above the axis so far
    double below = 0;
    for (std::size_t k = 0; k < drawing.stages.size(); ++k) {
        const SectionStage& stage = drawing.stages[k];
        const int number = static_cast<int>(k) + 1;
        const double x = -stage.width / 2;
        if (k == 0) {
            above = stage.thickness / 2;
            below = stage.thickness / 2;
            marks.packet(number, x, -above, stage.width, stage.thickness);
            upperMiddle[0] = 0;
            continue;
        }
        marks.packet(number, x, -(above + stage.thickness), stage.width, stage.thickness);
        marks.packet(number, x, below, stage.width, stage.otherThickness);
        upperMiddle[k] = -(above + stage.thickness / 2);
        above += stage.thickness;
        below += stage.otherThickness;
    }
    return upperMiddle;
}

// Centre lines, the table of stages right of the circle (outermost stage on
// top, each row tied to its upper packet by a leader), and the figures of the
// whole section below the table.
void placeLabels(const SectionDrawing& drawing, const std::vector<double>& upperMiddle,
                 const Words& words, MarkList& marks) {
    const double d = drawing.diameter;
    const double r = d / 2;
    const double font = d / 25;
    const double rowGap = 1.5 * font;
    const int count = static_cast<int>(drawing.stages.size());

    marks.line(MarkRole::CentreLine, 0, {-r - d / 25, 0}, {r + d / 25, 0});
    marks.line(MarkRole::CentreLine, 0, {0, -r - d / 25}, {0, r + d / 25});

    const double tableX = r + 0.16 * d;
    const double widthRight = tableX + 7.5 * font;
    const double thicknessRight = tableX + 14 * font;
    const auto rowBaseline = [&](int k) { return -k * rowGap + 0.35 * font; };
    const double headerBaseline = rowBaseline(count - 1) - 1.7 * font;
    marks.text(MarkRole::TableHead, 0, {tableX, headerBaseline}, 0.8 * font, Anchor::Start,
               std::string(words.heads.stage));
    marks.text(MarkRole::TableHead, 0, {widthRight, headerBaseline}, 0.8 * font, Anchor::End,
               std::string(words.heads.width));
    marks.text(MarkRole::TableHead, 0, {thicknessRight, headerBaseline}, 0.8 * font, Anchor::End,
               std::string(words.heads.thickness));
    marks.line(MarkRole::TableRule, 0, {tableX, headerBaseline + 0.5 * font},
               {thicknessRight, headerBaseline + 0.5 * font});
    for (int k = 0; k < count; ++k) {
        const SectionStage& stage = drawing.stages[static_cast<std::size_t>(k)];
        const double baseline = rowBaseline(k);
        const Point onPacket = {stage.width / 2, upperMiddle[static_cast<std::size_t>(k)]};
        marks.line(MarkRole::Leader, k + 1, onPacket,
                   {tableX - 0.5 * font, baseline - 0.35 * font});
        marks.dot(k + 1, onPacket, d / 300);
        marks.text(MarkRole::StageNumber, k + 1, {tableX, baseline}, font, Anchor::Start,
                   std::to_string(k + 1));
        marks.text(MarkRole::StageWidth, k + 1, {widthRight, baseline}, font, Anchor::End,
                   stage.widthText);
        marks.text(MarkRole::StageThickness, k + 1, {thicknessRight, baseline}, font, Anchor::End,
                   stage.thicknessText);
    }

    double baseline = r * 0.3;
    marks.text(MarkRole::Diameter, 0, {tableX, baseline}, 1.1 * font, Anchor::Start,
               "D = " + drawing.diameterText + " mm");
    baseline += 1.6 * font;
    marks.text(MarkRole::GrossArea, 0, {tableX, baseline}, font, Anchor::Start,
               std::string(words.grossArea) + drawing.grossAreaText + " cm\u00B2");
    baseline += 1.5 * font;
    marks.text(MarkRole::Utilisation, 0, {tableX, baseline}, font, Anchor::Start,
               std::string(words.utilisation) + drawing.utilisationText + " %");
    baseline += 1.5 * font;
    marks.text(MarkRole::Note, 0, {tableX, baseline}, font, Anchor::Start, words.stageCount(count));
    if (!drawing.title.empty()) {
        marks.text(MarkRole::Title, 0, {-r, std::min(drawing.extent.top, -r) - 0.8 * font},
                   1.2 * font, Anchor::Start, drawing.title);
    }
}

// The title block under everything drawn so far, its right edge at the
// drawing's.
void placeTitleBlock(const SectionDrawing& drawing, Language language, MarkList& marks) {
    const double em = 0.8 * drawing.diameter / 25;
    const TitleBlockLayout block =
        layOutTitleBlock(titleCells(drawing.titleBlock, language),
                         {drawing.extent.right, drawing.extent.bottom + 2 * em}, em);
    for (const TitleBlockLayout::Rule& rule : block.rules) {
        marks.line(MarkRole::TitleBlockRule, 0, rule.from, rule.to);
    }
    for (const TitleBlockLayout::Text& text : block.texts) {
        marks.text(MarkRole::TitleBlockCell, 0, text.baseline, em, Anchor::Start, text.text);
    }
}

// The stages in use from a sheet. Throws DesignError(Widths) when there are
// none to draw.
void readStages(const Sheet& sheet, SectionDrawing& drawing) {
    const std::vector<double> widths = stageWidths(sheet);
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int stage = static_cast<int>(k) + 1;
        SectionStage drawn;
        drawn.width = widths[k];
        const auto thicknessIn = [&](Field field) {
            return readStageInput(sheet, field, stage, "thickness");
        };
        drawn.thickness = thicknessIn(thicknessField(stage));
        drawn.otherThickness = stage == 1 ? drawn.thickness : thicknessIn(secondColumnField(stage));
        if (drawn.thickness < 0 || drawn.otherThickness < 0) {
            throw DesignError(DesignInput::Widths,
                              stagePlace(stage) + " comes out " + writeDefault(drawn.thickness) +
                                  " mm thick; the widths must decrease from stage to stage");
        }
        drawn.widthText = twoDecimals(drawn.width);
        drawn.thicknessText = writeDefault(drawn.thickness);
        drawing.stages.push_back(std::move(drawn));
    }
}

// The gross area the sheet gives (txmj), which its widths made.
double readGrossArea(const std::string& text) {
    try {
        return readLenient(text);
    } catch (const CalcError&) {
        throw DesignError(DesignInput::Widths, DesignRule::Reading,
                          "the gross area (txmj) is a number beyond the double range");
    }
}

}  // namespace

double textWidthEm(std::string_view text) {
    double width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = decodeUtf8(text, at);
        width += c.value >= 0x800 ? 1.0 : 0.62;  // CJK and beyond take a whole em
        at += c.length;
    }
    return width;
}

std::optional<Language> languageByCode(std::string_view code) {
    if (code == "en") {
        return Language::English;
    }
    if (code == "zh") {
        return Language::Chinese;
    }
    return std::nullopt;
}

bool isText(MarkRole role) {
    switch (role) {
        case MarkRole::Outline:
        case MarkRole::Packet:
        case MarkRole::CentreLine:
        case MarkRole::TableRule:
        case MarkRole::Leader:
        case MarkRole::LeaderEnd:
        case MarkRole::TitleBlockRule:
            return false;
        default:
            return true;
    }
}

SectionDrawing drawSection(const Sheet& sheet, Language language, const Signatures& signatures) {
    SectionDrawing drawing;
    drawing.diameter = readSheetInput(sheet, DesignInput::Diameter);
    checkInput(DesignInput::Diameter, drawing.diameter);
    readStages(sheet, drawing);
    drawing.diameterText = twoDecimals(drawing.diameter);
    drawing.grossAreaText = sheet.textRef(Field::txmj);
    const double grossArea = readGrossArea(drawing.grossAreaText);
    drawing.utilisationText =
        twoDecimals(100.0 * design::utilisation(drawing.diameter, grossArea * 100.0));
    for (const Field field : {Field::Text1, Field::Text2}) {
        const std::string& text = sheet.textRef(field);
        if (text.find_first_not_of(" \t") != std::string::npos) {
            drawing.title += drawing.title.empty() ? "" : "   ";
            drawing.title += text;
        }
    }
    const Words& words = wordsOf(language);
    drawing.caption = std::string(words.caption) + "D = " + drawing.diameterText + " mm";

    MarkList marks(drawing);
    const std::vector<double> upperMiddle = placePackets(drawing, marks);
    placeLabels(drawing, upperMiddle, words, marks);
    drawing.titleBlock = titleBlockOf(sheet, signatures);
    placeTitleBlock(drawing, language, marks);
    return drawing;
}

}  // namespace kalvitra::drawing
