#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/sheet/sheet.h"

// The drawing of a limb section, as one model that every picture of it reads:
// the SVG of the batch tool, the DXF for a CAD program and the designer's
// screen. The model holds what is drawn, in drawing order and to scale, with
// the words of its labels; each writer only decides how a mark looks.

namespace kalvitra::drawing {

// The language of the words on a drawing.
enum class Language { English, Chinese };

// "en" -> English, "zh" -> Chinese; nullopt for anything else.
std::optional<Language> languageByCode(std::string_view code);

// Page coordinates in mm: the limb axis at (0, 0), x along the widths, y down
// the page as in SVG and on screen. Writers for y-up formats negate y.
struct Point {
    double x = 0;
    double y = 0;
};

// What a mark is, which also says which of its members are used:
//   Outline                     centre, radius: the circle of the core diameter
//   Packet                      corner (top left), width, height; stage
//   CentreLine, TableRule,      from, to
//   Leader                      from (on the packet), to (at the label); stage
//   LeaderEnd                   centre, radius: the dot where a leader meets its packet
//   TitleBlockRule              from, to
//   every text role             at (baseline), size (em height), anchor, text; stage
//                               for the stage table's rows
enum class MarkRole {
    Outline,
    Packet,
    CentreLine,
    TableHead,
    TableRule,
    Leader,
    LeaderEnd,
    StageNumber,
    StageWidth,
    StageThickness,
    Diameter,
    GrossArea,
    Utilisation,
    Note,
    Title,
    TitleBlockRule,  // from, to
    TitleBlockCell,  // a label or a value of the title block
};

enum class Anchor { Start, End };

struct Mark {
    MarkRole role = MarkRole::Outline;
    int stage = 0;  // 1-based where the role names one, otherwise 0
    Point at;       // centre, corner, line start or text baseline
    Point to;       // line end
    double width = 0;
    double height = 0;
    double radius = 0;
    double size = 0;
    Anchor anchor = Anchor::Start;
    std::string text;
};

bool isText(MarkRole role);

// Rough width of a text in em: DejaVu Sans digits and Latin letters are
// about 0.6 em wide, Chinese characters 1 em. Only used to leave room around
// texts, so it errs on the wide side: "190" -> 1.86, "级厚" -> 2.
double textWidthEm(std::string_view text);

// The rectangle that holds everything drawn, text by an estimate of its width
// that errs on the wide side.
struct Extent {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct SectionStage {
    double width = 0;           // mm
    double thickness = 0;       // one packet (stage 1: the whole centre packet)
    double otherThickness = 0;  // the packet on the other side, stages 2..9
    std::string widthText;      // as labelled: 190, 181.13
    std::string thicknessText;  // 62.45
};

// Who signs a drawing and on what day; the rest of its title block comes
// from the sheet.
struct Signatures {
    std::string designer;
    std::string checker;
    std::string date;  // YYYY-MM-DD (checkDate)
};

// The title block (title_block.h): what the product is (the sheet's Text1
// and Text2), who designed and who checked it, when, at what scale and in
// what units.
struct TitleBlock {
    std::string productModel;  // Text1
    std::string jobNumber;     // Text2
    Signatures signatures;
    std::string scale = "1:1";  // the drawings are written at full size
    std::string units = "mm";
};

struct SectionDrawing {
    double diameter = 0;
    std::string diameterText;
    std::vector<SectionStage> stages;  // stage 1 first
    std::string grossAreaText;         // cm², as the gross-area action wrote it
    std::string utilisationText;       // per cent, two decimals
    std::string title;                 // product model and job number; may be empty
    std::string caption;               // names the drawing: "Core section, D = 200 mm"
    TitleBlock titleBlock;
    std::vector<Mark> marks;  // in drawing order
    Extent extent;
};

// The section of a sheet on which the stage-thickness and gross-area
// actions have run, with its labels in the given language. The stages in use
// are PK1 up to the last non-zero width. Throws DesignError(Diameter) for D
// not above 0 or out of the range of diameters (checkDiameter's words), and
// DesignError(Widths) with a one-line reason for no width, a width that is
// not above 0 or missing before a later one, or a negative thickness (widths
// that do not decrease):
//   D 200, PK1 190, PK2 195 -> "stage 2 (PK2) comes out -9 mm thick; the
//                               widths must decrease from stage to stage"
// Under everything else, at its right, the title block of the sheet with
// the signatures.
SectionDrawing drawSection(const Sheet& sheet, Language language,
                           const Signatures& signatures = {});

// A standalone SVG document: one user unit per millimetre, width and height
// in mm so that it also prints to scale; no transforms.
std::string writeSectionSvg(const SectionDrawing& drawing);

// Text for XML character data and attribute values: the five markup
// characters as entities, and control characters that XML 1.0 cannot carry
// as U+FFFD. Input is valid UTF-8.
//   "a<b & \"c\"" -> "a&lt;b &amp; &quot;c&quot;"
std::string escapeXml(std::string_view text);

}  // namespace kalvitra::drawing
