#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/workshop/pieces.h"

// The workshop's answers for a core: what to cut per step, how many sheets to
// stack and what the frame really weighs. Lengths
// in mm, areas in mm² and masses in kg unless a name says otherwise.
//
// The frame: 45° mitred joints, the yokes stepped as the limbs, n_L >= 2 limbs
// in a row, their centres C apart, and L = Hw + w_1 between the yoke centre
// lines. Step k (width w) is cut per layer as
//   outer limb   2 a layer      trapezoid, short L − w, long L + w      area w·L
//   centre limb  n_L − 2        V tip at both ends, short L − w, long L  area w·(L − w/2)
//   yoke         2              trapezoid, short (n_L−1)·C − w, long (n_L−1)·C + w,
//                               a V notch w/2 deep per centre limb      area (n_L−1)·C·w −
//                               (n_L−2)·w²/4

namespace kalvitra::workshop {

// The limb section as the shop builds it: D and the widths of the steps,
// widest first.
struct Section {
    double diameter = 0;
    std::vector<double> widths;
};

struct Frame {
    double windowHeight = 0;    // Hw (field H)
    double centreDistance = 0;  // C (field M), between neighbouring limbs
    int limbs = 0;              // n_L (field Z), in a row
    double density = 0;         // ρ (field MD), g/cm³
    double stackingFactor = 0;  // k (field dpxs)
};

// The section a sheet describes: D and PK1 up to the last non-zero width,
// read as the calculations read them. Throws DesignError(Diameter) for D out
// of range (checkDiameter), DesignError(Widths) as stageWidths and
// checkWidthsDecrease do: D 196, PK1 190, PK2 190 -> "stage 2 (PK2): the
// width 190 is not below the width of stage 1 (190); the widths must
// decrease from stage to stage".
Section sectionOfSheet(const Sheet& sheet);

// The frame a sheet describes (H, M, Z, MD, dpxs). Throws DesignError of the
// input, which names the field to its reader: H or M not a length
// (checkLength), Z not a whole number from 2 to kMaxLimbs, MD not above 0,
// dpxs out of (0, 1]. H empty -> DesignError(WindowHeight, "the window height
// must be a number greater than 0").
Frame frameOfSheet(const Sheet& sheet);

// The stack of every step, both packets together: with h_k = sqrt(D² − w_k²),
// step 1 stacks h_1 and step k stacks h_k − h_(k−1). With stackRound R > 0
// each h_k is first floored to a multiple of R (a multiple is the number its
// 15-digit text shows, so 0.1 × 3 is 0.3); R = 0 keeps them as they are.
//   ({196, {190, 180, 160, 140, 120, 100, 65, 30}}, 2) -> {48, 28, 36, 24, 18, 14, 16, 8}
//   ({200, {190}}, 0)                                   -> {62.4499799839840}  (sqrt(3900))
// Throws DesignError(StackRound) for R < 0 or not finite, R so fine that D
// holds more than kMaxWrittenMultiple of it, and for a step whose rounded stack is 0:
//   ({196, {190, 180, 160}}, 50) -> "step 1: its stack rounds to 0 at a stack
//                                    rounding of 50 mm"
// unless the widest width is below D/√2: then D is too large for the widths,
// DesignError(Diameter, also StackRound): ({1000000, {190, 180}}, 2) -> "D
// 1000000 is too large for the widths (the widest, 190, is below D/√2): step
// 2: its stack rounds to 0 at a stack rounding of 2 mm"
std::vector<double> stepStacks(const Section& section, double stackRound);

// The stacks as stepStacks gives them, but a step whose rounded stack is 0 is
// told rather than refused, for a search that goes on to the next section:
// then emptyStep is its index (from 0) and there are no stacks.
//   ({196, {190, 180, 160}}, 50) -> emptyStep 0
struct RoundedStacks {
    std::vector<double> stacks;
    std::optional<std::size_t> emptyStep;
};
RoundedStacks roundedStacks(const Section& section, double stackRound);

// Area of steel in the limb: k · Σ w_k · s_k, with the stacks above.
double netArea(const Section& section, std::span<const double> stacks, double stackingFactor);

// As the cut list names them: "outer-limb", "centre-limb", "yoke".
std::string_view pieceName(Piece piece);

struct CutRow {
    int step = 0;  // 1-based
    Piece piece = Piece::OuterLimb;
    double width = 0;
    double shortLength = 0;
    double longLength = 0;
    int perLayer = 0;
    double stack = 0;                 // the step's stack, both packets
    std::optional<long long> sheets;  // layers in the stack, with a sheet thickness
    std::optional<long long> pieces;  // perLayer × sheets: what the shop cuts
    double plateArea = 0;             // one piece
    double mass = 0;                  // ρ · k · plateArea · stack · perLayer
};

struct CutListOptions {
    double stackRound = 0;                 // R, 0 for none
    std::optional<double> sheetThickness;  // T
};

struct CutList {
    Section section;
    Frame frame;
    double limbLength = 0;  // L = Hw + w_1
    std::vector<double> stacks;
    std::vector<CutRow> rows;  // by step; outer limb, centre limb (n_L > 2), yoke
    double netAreaMm2 = 0;     // k · Σ w_k · s_k
    double frameMass = 0;      // the sum of the rows: every piece as cut
};

// The cut list of a core. Throws DesignError for a frame out of range (as
// frameOfSheet), a centre distance not above w_1 ("the limbs would
// overlap"), a sheet thickness not above 0, a step with 0 sheets, a density
// that carries the mass beyond the range of numbers, and what stepStacks
// refuses.
//   196 mm core, Hw 760, C 364, 3 limbs, R 2: centre step 3 790/950, yoke step
//   7 663/793, outer step 5 830/1070
CutList cutList(const Section& section, const Frame& frame, const CutListOptions& options);

// The cut list of the core a sheet describes: its section and frame as
// sectionOfSheet and frameOfSheet read them, the frame first, cut as cutList
// cuts them. The one way from a sheet to the frame, for the designer and the
// batch tool.
CutList cutListOfSheet(const Sheet& sheet, const CutListOptions& options);

// The even number nearest to k · stack / T, ties going up: whole pairs of
// sheets, one on each side. (0.97, 48, 0.27) -> 172 (172.44 sheets).
long long sheetCount(double stackingFactor, double stack, double sheetThickness);

// The outline of one piece as cut, a closed polygon with y up: its long edge
// on y = 0 from x = 0, the piece lying along x, the width along y. The
// polygon's area is the row's plate area.
struct Vertex {
    double x = 0;
    double y = 0;
};
std::vector<Vertex> pieceOutline(const CutList& list, const CutRow& row);

// The words of a cut list's CSV: the keys, for programs, or Chinese for a
// Chinese shop (the heads and the pieces as the designer's table shows them).
enum class CsvWords { Keys, Chinese };

// The cut list as a table for the shop: the header
//   step,piece,width,short,long,per_layer,stack,sheets,pieces,mass
// then one line a row, LF line ends, numbers in their shortest exact form
// (writeShortest); sheets and pieces empty without a sheet thickness.
//   196 mm core above, T 0.27: 1,outer-limb,190,760,1140,2,48,172,344,128.582424
// In Chinese the header is 级,零件,片宽 mm,... and the row 1,边柱,190,...
std::string writeCutListCsv(const CutList& list, CsvWords words = CsvWords::Keys);

// Two conventions published for the frame's mass, shown beside the true one:
//   "3 limbs Hw + yokes 2C + D": ρ · k · A · (3·Hw + 4·C + 2·D), A = Σ w_k s_k,
//   three limbs whatever n_L;
double threeLimbsConventionMass(const CutList& list);
//   the calculator's own core weight, as its core-weight action shows it for
//   the sheet after the stage-thickness action. Throws CalcError as they do.
double calculatorWeight(const Sheet& sheet);

}  // namespace kalvitra::workshop
