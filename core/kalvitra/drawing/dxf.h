#pragma once

#include <string>

#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/no_load_current.h"

// Drawings for a CAD program: DXF R12 (AC1009) ASCII, in millimetres with y up,
// written by the program itself. A HEADER with $ACADVER, $EXTMIN and
// $EXTMAX, a LAYER table (outlines in colour 7, black on paper), a STYLE
// table with STANDARD and GB, the style of every TEXT: the shape font
// gbenor.shx with the big font gbcbig.shx, as Chinese drafting has it; then
// CIRCLE, POLYLINE (70 = 1 closed, 0 open; VERTEX ... SEQEND) and TEXT
// entities, and 0/EOF. Numbers are written in
// their shortest exact form, so a vertex reads back as the very double
// computed. The file is ASCII: text beyond it is written as \U+XXXX, which
// every reader of R12 understands, so no code page takes part; a backslash
// likewise, and a percent sign followed by another, so that no %% control
// code arises; control characters and characters beyond U+FFFF as U+FFFD.
// A title typed as   100% \ 变 %%u   and a tab is written as
//   100% \U+005C \U+53D8 \U+0025%u\U+FFFD

namespace kalvitra::dxf {

// The section as drawn by writeSectionSvg, turned y up and centred on the
// limb axis: the circle of radius D/2 (layer OUTLINE), every packet a closed
// polyline of four vertices (PACKETS), the centre lines (CENTRE), the
// leaders and the table's rule as open polylines (LEADERS), the labels
// (TEXT), whose height is that of their capitals, and the title block
// (TITLE).
std::string writeSectionDxf(const drawing::SectionDrawing& drawing);

// Every row of the cut list drawn once as a closed polyline of its piece's
// true shape (pieceOutline, layer PIECES): a column per kind of piece, a band
// per step, nothing overlapping. Each has a label above it naming its step,
// piece, width × short/long length and pieces per layer (and to cut, with a
// sheet thickness), in the given language, under a title (layer LABELS):
//   "step 5 outer limb 120 × 830/1070, 2 per layer"
//   "第 5 级 边柱 120 × 830/1070，每层 2 片"
// Under the pieces, at their right, the title block. The title names
// step-lap joints with their counts (mitred ones are the frame's own):
//   "Cut list, step-lap joints, 6 steps per book, 2 sheets per step: D = ..."
//   "剪切清单（步进搭接，每叠 6 步，每步 2 片）：D = ..."
std::string writeCutListDxf(const workshop::CutList& list, drawing::Language language,
                            const drawing::TitleBlock& block = {},
                            const workshop::JointLayout& joints = {});

}  // namespace kalvitra::dxf
