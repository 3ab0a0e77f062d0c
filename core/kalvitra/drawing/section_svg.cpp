// The section drawing as SVG: how each mark of the drawing looks on paper.

#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra::drawing {
namespace {

// Coordinates carry up to 15 significant digits, like every number the
// program writes.
std::string num(double value) {
    return writeDefault(value);
}

constexpr std::string_view kFont = "DejaVu Sans, Noto Sans, Noto Sans CJK SC, sans-serif";
constexpr std::string_view kPacketFill[] = {"#8fa6bb", "#b4c6d6"};

// Stroke widths and dashes scale with the diameter, so a drawing looks the
// same at any size.
struct Styles {
    std::string outline;
    std::string packet;
    std::string centreLine;
    std::string rule;
    std::string leader;
    std::string titleBlock;

    explicit Styles(double d)
        : outline("fill=\"#f3f5f7\" stroke=\"#34495e\" stroke-width=\"" + num(d / 300) + "\""),
          packet("stroke=\"#2c3e50\" stroke-width=\"" + num(d / 600) +
                 "\" stroke-linejoin=\"round\""),
          centreLine("stroke=\"#b03a2e\" stroke-width=\"" + num(d / 900) +
                     "\" stroke-dasharray=\"" + num(d / 25) + " " + num(d / 100) + " " +
                     num(d / 200) + " " + num(d / 100) + "\""),
          rule("stroke=\"#aab7c4\" stroke-width=\"" + num(d / 900) + "\""),
          leader("stroke=\"#7f8c8d\" stroke-width=\"" + num(d / 900) + "\""),
          titleBlock("stroke=\"#2c3e50\" stroke-width=\"" + num(d / 900) + "\"") {}
};

// The attributes that set a text apart: class, weight, colour.
std::string_view textAttributes(MarkRole role) {
    switch (role) {
        case MarkRole::TableHead:
        case MarkRole::Note:
            return "fill=\"#5d6d7e\"";
        case MarkRole::StageNumber:
            return "font-weight=\"bold\"";
        case MarkRole::StageWidth:
            return "class=\"width\"";
        case MarkRole::StageThickness:
            return "class=\"thickness\"";
        case MarkRole::Diameter:
            return "class=\"diameter\" font-weight=\"bold\"";
        case MarkRole::GrossArea:
            return "class=\"gross-area\"";
        case MarkRole::Utilisation:
            return "class=\"utilisation\"";
        case MarkRole::Title:
            return "class=\"title\" font-weight=\"bold\"";
        case MarkRole::TitleBlockCell:
            return "class=\"title-block\"";
        default:
            return "";
    }
}

std::string line(const Mark& mark, std::string_view style) {
    return "  <line x1=\"" + num(mark.at.x) + "\" y1=\"" + num(mark.at.y) + "\" x2=\"" +
           num(mark.to.x) + "\" y2=\"" + num(mark.to.y) + "\" " + std::string(style) + "/>\n";
}

std::string text(const Mark& mark) {
    std::string out = "  <text x=\"" + num(mark.at.x) + "\" y=\"" + num(mark.at.y) +
                      "\" font-size=\"" + num(mark.size) + "\" text-anchor=\"" +
                      (mark.anchor == Anchor::End ? "end" : "start") + '"';
    const std::string_view attributes = textAttributes(mark.role);
    if (!attributes.empty()) {
        out += ' ';
        out += attributes;
    }
    out += '>';
    out += escapeXml(mark.text);
    out += "</text>\n";
    return out;
}

std::string element(const Mark& mark, const Styles& styles) {
    switch (mark.role) {
        case MarkRole::Outline:
            return "  <circle cx=\"" + num(mark.at.x) + "\" cy=\"" + num(mark.at.y) + "\" r=\"" +
                   num(mark.radius) + "\" " + styles.outline + "/>\n";
        case MarkRole::Packet:
            return "  <rect class=\"packet stage-" + std::to_string(mark.stage) + "\" x=\"" +
                   num(mark.at.x) + "\" y=\"" + num(mark.at.y) + "\" width=\"" + num(mark.width) +
                   "\" height=\"" + num(mark.height) + "\" fill=\"" +
                   std::string(kPacketFill[(mark.stage - 1) % 2]) + "\" " + styles.packet + "/>\n";
        case MarkRole::CentreLine:
            return line(mark, styles.centreLine);
        case MarkRole::TableRule:
            return line(mark, styles.rule);
        case MarkRole::Leader:
            return line(mark, styles.leader);
        case MarkRole::TitleBlockRule:
            return line(mark, styles.titleBlock);
        case MarkRole::LeaderEnd:
            return "  <circle class=\"leader-end\" cx=\"" + num(mark.at.x) + "\" cy=\"" +
                   num(mark.at.y) + "\" r=\"" + num(mark.radius) + "\" fill=\"#2c3e50\"/>\n";
        default:
            return text(mark);
    }
}

}  // namespace

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

std::string writeSectionSvg(const SectionDrawing& drawing) {
    const double pad = drawing.diameter / 20;
    const double left = drawing.extent.left - pad;
    const double top = drawing.extent.top - pad;
    const double width = drawing.extent.right + pad - left;
    const double height = drawing.extent.bottom + pad - top;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(width) +
           "mm\" height=\"" + num(height) + "mm\" viewBox=\"" + num(left) + " " + num(top) + " " +
           num(width) + " " + num(height) + "\" font-family=\"" + std::string(kFont) +
           "\" fill=\"#1c2833\">\n";
    out += "  <title>" + escapeXml(drawing.caption) + "</title>\n";
    out += "  <rect class=\"background\" x=\"" + num(left) + "\" y=\"" + num(top) + "\" width=\"" +
           num(width) + "\" height=\"" + num(height) + "\" fill=\"#ffffff\"/>\n";
    const Styles styles(drawing.diameter);
    for (const Mark& mark : drawing.marks) {
        out += element(mark, styles);
    }
    out += "</svg>\n";
    return out;
}

}  // namespace kalvitra::drawing
