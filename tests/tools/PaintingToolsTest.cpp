// "Gomme", "Remplissage", "Colorimètre", "Aérographe" and "Tampon" on small
// bitmaps.
#include "tools/PaintingTools.h"
#include "tools/AirbrushTool.h"
#include "tools/ToolTestSupport.h"

#include <set>

namespace px::test {
namespace {

// The columns of row y that hold `colour`.
std::set<int> columnsOf(const Bitmap& b, int y, Colour colour)
{
    std::set<int> xs;
    for (int x = 0; x < b.width(); ++x)
        if (b.pixel(x, y) == colour)
            xs.insert(x);
    return xs;
}

std::set<int> range(int from, int to)
{
    std::set<int> xs;
    for (int x = from; x <= to; ++x)
        xs.insert(x);
    return xs;
}

struct EraserCase {
    EraserShape shape;
    ToolEvent::Button button;
    Colour colour;
    std::set<int> centreRow; // of the dot at (10, 10)
};

class Eraser : public ToolTest, public ::testing::WithParamInterface<EraserCase> {};

// "Carré" is a pen 5 wide, "Rond" 10 wide (an even width reaches one pixel
// further left than right); the left button paints the main colour.
TEST_P(Eraser, PaintsADotOfItsWidthInThePressColour)
{
    const EraserCase& c = GetParam();
    document = Bitmap(20, 20, 24);
    document.fill(kWhite);
    options.eraser = c.shape;
    EraserTool eraser;
    eraser.press(press(10, 10, c.button), context());
    EXPECT_EQ(columnsOf(document, 10, c.colour), c.centreRow);
    EXPECT_EQ(host.snapshots.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Shapes, Eraser,
                         ::testing::Values(EraserCase{EraserShape::Square, ToolEvent::Left, kRed, range(8, 12)},
                                           EraserCase{EraserShape::Round, ToolEvent::Left, kRed, range(5, 14)},
                                           EraserCase{EraserShape::Square, ToolEvent::Right, kBlue, range(8, 12)}));

// A stroke is a band of the pen's width; the dot of the press is copied even
// when another tool left the canvas inverting (on black, NOT-XOR of red
// would give cyan).
TEST_F(ToolTest, EraserStrokeIsCopiedWhateverTheCanvasModeWas)
{
    document = Bitmap(20, 20, 24);
    canvas.setPenMode(MixMode::NotXor);
    options.eraser = EraserShape::Square;
    EraserTool eraser;
    eraser.press(press(5, 10), context());
    eraser.move(move(15, 10), context());
    EXPECT_EQ(columnsOf(document, 10, kRed), range(3, 17));
    EXPECT_EQ(columnsOf(document, 8, kRed), range(4, 16));
    EXPECT_TRUE(columnsOf(document, 13, kRed).empty());
    EXPECT_TRUE(columnsOf(document, 10, kCyan).empty());
    EXPECT_TRUE(eraser.move(move(5, 5, ToolEvent::NoButton), context()).isEmpty()) << "no button, no stroke";
}

struct FillCase {
    const char* name;
    FloodFillMode mode;
    ToolEvent::Button button;
    int x, y;
    const char* picture;
};

class Fill : public ToolTest, public ::testing::WithParamInterface<FillCase> {};

// A red ring with a black dot inside, on white. A figure tool left the
// brush hollow: the fill makes it solid.
TEST_P(Fill, FillsTheSurfaceOrUpToTheBorder)
{
    const FillCase& c = GetParam();
    document = pictureOf({"........", ".rrrrr..", ".r...r..", ".r.#.r..", ".rrrrr..", "........"});
    canvas.setBrushHollow(true);
    options.fillMode = c.mode;
    FillTool fill;
    fill.press(press(c.x, c.y, c.button), context());
    EXPECT_EQ(picture(document), c.picture);
    EXPECT_EQ(host.snapshots.size(), 1u);
    EXPECT_FALSE(canvas.brushHollow());
}

INSTANTIATE_TEST_SUITE_P(Modes, Fill,
                         ::testing::Values(FillCase{"Surface", FloodFillMode::Surface, ToolEvent::Left, 2, 2,
                                                    "........\n.rrrrr..\n.rrrrr..\n.rr#rr..\n.rrrrr..\n........\n"},
                                           FillCase{"Border", FloodFillMode::Border, ToolEvent::Left, 2, 2,
                                                    "........\n.rrrrr..\n.rrrrr..\n.rrrrr..\n.rrrrr..\n........\n"},
                                           // Right button: the background colour, bounded by blue.
                                           FillCase{"BorderRightButton", FloodFillMode::Border, ToolEvent::Right, 2, 2,
                                                    "bbbbbbbb\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\n"},
                                           FillCase{"SurfaceOutside", FloodFillMode::Surface, ToolEvent::Right, 0, 0,
                                                    "bbbbbbbb\nbrrrrrbb\nbr...rbb\nbr.#.rbb\nbrrrrrbb\nbbbbbbbb\n"},
                                           // The start pixel already has the border colour.
                                           FillCase{"BorderOnBorder", FloodFillMode::Border, ToolEvent::Left, 1, 1,
                                                    "........\n.rrrrr..\n.r...r..\n.r.#.r..\n.rrrrr..\n........\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Right click on green: the background colour becomes green, the canvas
// takes the two colours; the read-out follows the pointer without a button.
TEST_F(ToolTest, ColourPickerTakesTheColourAndShowsTheReadOut)
{
    document = pictureOf({"........", "..g.....", "........"});
    ColourPickerTool picker;
    picker.press(press(2, 1, ToolEvent::Right), context());
    EXPECT_EQ(host.backgroundColour, kGreen);
    EXPECT_FALSE(host.mainColour.has_value());
    EXPECT_EQ(canvas.penColour(), kRed);
    EXPECT_EQ(canvas.brushColour(), kGreen);
    picker.press(press(0, 0, ToolEvent::Left), context());
    EXPECT_EQ(host.mainColour, kWhite);
    EXPECT_EQ(canvas.penColour(), kWhite);
    EXPECT_TRUE(host.snapshots.empty()) << "picking changes no pixel";

    picker.move(move(2, 1, ToolEvent::NoButton), context());
    picker.move(move(3, 1, ToolEvent::NoButton), context());
    EXPECT_EQ(host.readOuts, (std::vector<Colour>{kGreen, kWhite}));
}

struct AirbrushCase {
    const char* name;
    int style;
    std::vector<int> cells;                // checked grid cells for "Personnalisé" (Chec k is cell k - 1)
    std::set<std::pair<int, int>> painted; // around (10, 10)
};

class Airbrush : public ToolTest, public ::testing::WithParamInterface<AirbrushCase> {};

TEST_P(Airbrush, DabsTheStylePattern)
{
    const AirbrushCase& c = GetParam();
    document = Bitmap(20, 20, 24);
    document.fill(kWhite);
    options.airbrushStyle = c.style;
    for (const int cell : c.cells)
        options.airbrushCells[std::size_t(cell)] = true;
    AirbrushTool airbrush;
    airbrush.press(press(10, 10), context());
    std::set<std::pair<int, int>> painted;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (document.pixel(x, y) == kRed)
                painted.insert({x, y});
    EXPECT_EQ(painted, c.painted);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Airbrush,
    ::testing::Values(
        AirbrushCase{"Style9", 9, {}, {{10, 10}, {9, 10}, {8, 10}, {7, 10}, {6, 10}}},
        AirbrushCase{"Style8", 8, {}, {{10, 10}, {10, 9}, {10, 8}, {10, 7}, {10, 6}}},
        AirbrushCase{"Style5", 5, {}, {{10, 10}, {10, 12}, {10, 8}, {12, 10}, {8, 10}}},
        AirbrushCase{"CustomCorners", ToolOptions::kCustomAirbrushStyle, {0, 24}, {{6, 6}, {14, 14}}},
        AirbrushCase{"CustomCentreAndRow1Column4", ToolOptions::kCustomAirbrushStyle, {12, 9}, {{10, 10}, {14, 8}}},
        AirbrushCase{"CustomNothingChecked", ToolOptions::kCustomAirbrushStyle, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Dabs follow the held buttons while the stroke lasts; pixels outside the
// picture are left out.
TEST_F(ToolTest, AirbrushDabsAtEveryMoveOfTheStroke)
{
    options.airbrushStyle = 6; // (0,0) (1,1) (2,2) (3,3)
    AirbrushTool airbrush;
    airbrush.press(press(0, 0, ToolEvent::Right), context());
    airbrush.move(move(5, 0, ToolEvent::Right), context());
    airbrush.move(move(2, 3, ToolEvent::NoButton), context());
    airbrush.release(release(2, 3, ToolEvent::Right), context());
    airbrush.move(move(4, 4, ToolEvent::Right), context());
    EXPECT_EQ(picture(document), "b....b..\n"
                                 ".b....b.\n"
                                 "..b....b\n"
                                 "...b....\n"
                                 "........\n"
                                 "........\n");
    EXPECT_EQ(host.snapshots.size(), 1u);
}

TEST_F(ToolTest, StampDrawsThePictureAtItsOwnSizeAtEachMove)
{
    options.stamp = pictureOf({"rb", "gc"});
    StampTool stamp;
    stamp.press(press(1, 1, ToolEvent::Middle), context());
    stamp.move(move(5, 4, ToolEvent::Middle), context());
    stamp.move(move(7, 5, ToolEvent::Middle), context());
    stamp.release(release(7, 5, ToolEvent::Middle), context());
    stamp.move(move(3, 3, ToolEvent::NoButton), context());
    EXPECT_EQ(picture(document), "........\n"
                                 ".rb.....\n"
                                 ".gc.....\n"
                                 "........\n"
                                 ".....rb.\n"
                                 ".....gcr\n");
    EXPECT_EQ(host.snapshots.size(), 1u);
}

} // namespace
} // namespace px::test
