#include "section_svg.h"

#include <algorithm>

#include "kalvitra/design.h"
#include "kalvitra/numbers.h"

namespace kalvitra::cli {
namespace {

// Coordinates carry up to 15 significant digits, like every number the
// program writes.
std::string num(double value) {
    return writeDefault(value);
}

// Rough width of a text in em: DejaVu Sans digits and Latin letters are
// about 0.6 em wide, Chinese characters 1 em. Only used to leave room in the
// view box, so it errs on the wide side.
double textWidthEm(std::string_view text) {
    double width = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            width += 0.62;
        } else if ((byte & 0xC0) != 0x80) {
            width += byte >= 0xE0 ? 1.0 : 0.62;  // a lead byte: one code point
        }
    }
    return width;
}

// The bounding box of everything drawn, grown as elements are added.
struct Bounds {
    double left = 0, top = 0, right = 0, bottom = 0;
    void add(double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

constexpr std::string_view kFont = "DejaVu Sans, Noto Sans, Noto Sans CJK SC, sans-serif";
constexpr std::string_view kPacketFill[] = {"#8fa6bb", "#b4c6d6"};

class SvgBody {
public:
    void line(double x1, double y1, double x2, double y2, std::string_view style) {
        body_ += "  <line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) +
                 "\" y2=\"" + num(y2) + "\" " + std::string(style) + "/>\n";
        bounds.add(x1, y1);
        bounds.add(x2, y2);
    }
    void rect(std::string_view cssClass, double x, double y, double width, double height,
              std::string_view style) {
        body_ += "  <rect class=\"" + std::string(cssClass) + "\" x=\"" + num(x) + "\" y=\"" +
                 num(y) + "\" width=\"" + num(width) + "\" height=\"" + num(height) + "\" " +
                 std::string(style) + "/>\n";
        bounds.add(x, y);
        bounds.add(x + width, y + height);
    }
    // anchor: "start" or "end"; y is the baseline.
    void text(double x, double y, double size, std::string_view anchor, std::string_view content,
              std::string_view extra = "") {
        body_ += "  <text x=\"" + num(x) + "\" y=\"" + num(y) + "\" font-size=\"" + num(size) +
                 "\" text-anchor=\"";
        body_ += anchor;
        body_ += '"';
        if (!extra.empty()) {
            body_ += ' ';
            body_ += extra;
        }
        body_ += '>';
        body_ += escapeXml(content);
        body_ += "</text>\n";
        const double width = textWidthEm(content) * size;
        const double left = anchor == "end" ? x - width : x;
        bounds.add(left, y - size);
        bounds.add(left + width, y + 0.3 * size);
    }
    void raw(std::string_view element) { body_ += element; }

    const std::string& str() const { return body_; }
    Bounds bounds;

private:
    std::string body_;
};

}  // namespace

std::string twoDecimals(double value) {
    return writeDefault(readLenient(writePattern(value)));
}

std::string escapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += "\xEF\xBF\xBD";  // U+FFFD
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::optional<std::string> sectionOfSheet(const Sheet& sheet, SectionDrawing& drawing) {
    drawing = SectionDrawing{};
    drawing.diameter = readLenient(sheet.textRef(Field::D));
    if (!(drawing.diameter > 0)) {
        return "D must be greater than 0 to draw a section";
    }
    if (drawing.diameter < design::kMinDiameter || drawing.diameter > design::kMaxDiameter) {
        return "D must lie between " + writeDefault(design::kMinDiameter) + " and " +
               writeDefault(design::kMaxDiameter) + " to draw a section";
    }
    drawing.diameterText = twoDecimals(drawing.diameter);

    int used = 0;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        if (readLenient(sheet.textRef(widthField(stage))) != 0) {
            used = stage;
        }
    }
    if (used == 0) {
        return "no stage width given (PK1..PK9)";
    }
    for (int stage = 1; stage <= used; ++stage) {
        SectionStage drawn;
        drawn.width = readLenient(sheet.textRef(widthField(stage)));
        drawn.thickness = readLenient(sheet.textRef(thicknessField(stage)));
        drawn.otherThickness =
            stage == 1 ? drawn.thickness : readLenient(sheet.textRef(secondColumnField(stage)));
        if (drawn.width == 0) {
            return stagePlace(stage) + " has no width but stage " + std::to_string(used) +
                   " has one; the stages in use must come first";
        }
        if (drawn.width < 0) {
            return stagePlace(stage) + ": a width must be greater than 0";
        }
        if (drawn.thickness < 0 || drawn.otherThickness < 0) {
            return stagePlace(stage) + " comes out " + writeDefault(drawn.thickness) +
                   " mm thick; the widths must decrease from stage to stage";
        }
        drawn.widthText = twoDecimals(drawn.width);
        drawn.thicknessText = writeDefault(drawn.thickness);
        drawing.stages.push_back(std::move(drawn));
    }
    drawing.grossAreaText = sheet.textRef(Field::txmj);
    const double grossArea = readLenient(drawing.grossAreaText);
    drawing.utilisationText =
        twoDecimals(100.0 * design::utilisation(drawing.diameter, grossArea * 100.0));

    for (const Field field : {Field::Text1, Field::Text2}) {
        const std::string& text = sheet.textRef(field);
        if (text.find_first_not_of(" \t") != std::string::npos) {
            drawing.title += drawing.title.empty() ? "" : "   ";
            drawing.title += text;
        }
    }
    return std::nullopt;
}

std::string writeSectionSvg(const SectionDrawing& drawing) {
    const double d = drawing.diameter;
    const double r = d / 2;
    const double font = d / 25;
    const double rowGap = 1.5 * font;
    const int count = static_cast<int>(drawing.stages.size());
    SvgBody svg;

    // The circle, then the packets: stage 1 across the centre, every later
    // stage once above and once below the stages before it.
    svg.raw("  <circle cx=\"0\" cy=\"0\" r=\"" + num(r) +
            "\" fill=\"#f3f5f7\" stroke=\"#34495e\" stroke-width=\"" + num(d / 300) + "\"/>\n");
    svg.bounds.add(-r, -r);
    svg.bounds.add(r, r);
    const std::string packetStyle =
        "stroke=\"#2c3e50\" stroke-width=\"" + num(d / 600) + "\" stroke-linejoin=\"round\"";
    std::vector<double> upperMiddle(drawing.stages.size());
    double above = 0;  // reach of the stack above the axis so far
    double below = 0;
    for (int k = 0; k < count; ++k) {
        const SectionStage& stage = drawing.stages[static_cast<std::size_t>(k)];
        const std::string fill = "fill=\"" + std::string(kPacketFill[k % 2]) + "\" ";
        const std::string cssClass = "packet stage-" + std::to_string(k + 1);
        const double x = -stage.width / 2;
        if (k == 0) {
            above = stage.thickness / 2;
            below = stage.thickness / 2;
            svg.rect(cssClass, x, -above, stage.width, stage.thickness, fill + packetStyle);
            upperMiddle[0] = 0;
            continue;
        }
        svg.rect(cssClass, x, -(above + stage.thickness), stage.width, stage.thickness,
                 fill + packetStyle);
        svg.rect(cssClass, x, below, stage.width, stage.otherThickness, fill + packetStyle);
        upperMiddle[static_cast<std::size_t>(k)] = -(above + stage.thickness / 2);
        above += stage.thickness;
        below += stage.otherThickness;
    }

    // Centre lines, dash-dot as on a drawing.
    const std::string axisStyle = "stroke=\"#b03a2e\" stroke-width=\"" + num(d / 900) +
                                  "\" stroke-dasharray=\"" + num(d / 25) + " " + num(d / 100) +
                                  " " + num(d / 200) + " " + num(d / 100) + "\"";
    svg.line(-r - d / 25, 0, r + d / 25, 0, axisStyle);
    svg.line(0, -r - d / 25, 0, r + d / 25, axisStyle);

    // The table of stages right of the circle, outermost stage on top, each
    // row tied to its upper packet by a leader line.
    const double tableX = r + 0.16 * d;
    const double widthRight = tableX + 7.5 * font;
    const double thicknessRight = tableX + 14 * font;
    const auto rowBaseline = [&](int k) { return -k * rowGap + 0.35 * font; };
    const double headerBaseline = rowBaseline(count - 1) - 1.7 * font;
    const std::string headStyle = "fill=\"#5d6d7e\"";
    svg.text(tableX, headerBaseline, 0.8 * font, "start", "stage", headStyle);
    svg.text(widthRight, headerBaseline, 0.8 * font, "end", "width mm", headStyle);
    svg.text(thicknessRight, headerBaseline, 0.8 * font, "end", "thickness mm", headStyle);
    svg.line(tableX, headerBaseline + 0.5 * font, thicknessRight, headerBaseline + 0.5 * font,
             "stroke=\"#aab7c4\" stroke-width=\"" + num(d / 900) + "\"");
    const std::string leaderStyle = "stroke=\"#7f8c8d\" stroke-width=\"" + num(d / 900) + "\"";
    for (int k = 0; k < count; ++k) {
        const SectionStage& stage = drawing.stages[static_cast<std::size_t>(k)];
        const double baseline = rowBaseline(k);
        const double fromX = stage.width / 2;
        const double fromY = upperMiddle[static_cast<std::size_t>(k)];
        svg.line(fromX, fromY, tableX - 0.5 * font, baseline - 0.35 * font, leaderStyle);
        svg.raw("  <circle class=\"leader-end\" cx=\"" + num(fromX) + "\" cy=\"" + num(fromY) +
                "\" r=\"" + num(d / 300) + "\" fill=\"#2c3e50\"/>\n");
        svg.text(tableX, baseline, font, "start", std::to_string(k + 1), "font-weight=\"bold\"");
        svg.text(widthRight, baseline, font, "end", stage.widthText, "class=\"width\"");
        svg.text(thicknessRight, baseline, font, "end", stage.thicknessText, "class=\"thickness\"");
    }

    // The figures of the whole section below the table.
    double baseline = r * 0.3;
    svg.text(tableX, baseline, 1.1 * font, "start", "D = " + drawing.diameterText + " mm",
             "class=\"diameter\" font-weight=\"bold\"");
    baseline += 1.6 * font;
    svg.text(tableX, baseline, font, "start", "gross area " + drawing.grossAreaText + " cm\u00B2",
             "class=\"gross-area\"");
    baseline += 1.5 * font;
    svg.text(tableX, baseline, font, "start", "utilisation " + drawing.utilisationText + " %",
             "class=\"utilisation\"");
    baseline += 1.5 * font;
    svg.text(tableX, baseline, font, "start",
             std::to_string(count) + (count == 1 ? " stage" : " stages") + ", lengths in mm",
             "fill=\"#5d6d7e\"");
    if (!drawing.title.empty()) {
        svg.text(-r, std::min(svg.bounds.top, -r) - 0.8 * font, 1.2 * font, "start", drawing.title,
                 "class=\"title\" font-weight=\"bold\"");
    }

    const double pad = d / 20;
    const double left = svg.bounds.left - pad;
    const double top = svg.bounds.top - pad;
    const double width = svg.bounds.right + pad - left;
    const double height = svg.bounds.bottom + pad - top;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(width) +
           "mm\" height=\"" + num(height) + "mm\" viewBox=\"" + num(left) + " " + num(top) + " " +
           num(width) + " " + num(height) + "\" font-family=\"" + std::string(kFont) +
           "\" fill=\"#1c2833\">\n";
    out +=
        "  <title>" + escapeXml("Core section, D = " + drawing.diameterText + " mm") + "</title>\n";
    out += "  <rect class=\"background\" x=\"" + num(left) + "\" y=\"" + num(top) + "\" width=\"" +
           num(width) + "\" height=\"" + num(height) + "\" fill=\"#ffffff\"/>\n";
    out += svg.str();
    out += "</svg>\n";
    return out;
}

}  // namespace kalvitra::cli
