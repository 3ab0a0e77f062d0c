#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/sheet.h"

// The drawing of a limb section: the circle of the core diameter and the
// packets of every stage, to scale, as SVG.

namespace kalvitra::cli {

struct SectionStage {
    double width = 0;           // mm
    double thickness = 0;       // one packet (stage 1: the whole centre packet)
    double otherThickness = 0;  // the packet on the other side, stages 2..9
    std::string widthText;      // as labelled: 190, 181.13
    std::string thicknessText;  // 62.45
};

struct SectionDrawing {
    double diameter = 0;
    std::string diameterText;
    std::vector<SectionStage> stages;  // stage 1 first
    std::string grossAreaText;         // cm², as the gross-area action wrote it
    std::string utilisationText;       // per cent, two decimals
    std::string title;                 // product model and job number; may be empty
};

// The section of a sheet on which the stage-thickness and gross-area
// actions have run. The stages in use are PK1 up to the last non-zero width.
// Returns a one-line reason when the sheet describes no drawable section: D
// not above 0, no width, a width that is not above 0 or missing before a
// later one, or a negative thickness (widths that do not decrease).
std::optional<std::string> sectionOfSheet(const Sheet& sheet, SectionDrawing& drawing);

// A number as labels and summaries show it: rounded to two decimals half
// away from zero, as the thickness fields are, trailing zeros dropped
// (190, 181.13, 62.45).
std::string twoDecimals(double value);

// A standalone SVG document: one user unit per millimetre, width and height
// in mm so that it also prints to scale; the circle centred on (0, 0) with x
// along the widths and y along the stack; no transforms.
std::string writeSectionSvg(const SectionDrawing& drawing);

// Text for XML character data and attribute values: the five markup
// characters as entities, and control characters that XML 1.0 cannot carry
// as U+FFFD. Input is valid UTF-8.
std::string escapeXml(std::string_view text);

}  // namespace kalvitra::cli
