// The figure tools driven by tool events on small bitmaps: rubber band,
// final figure, pen and brush set-up, the rays of "Etoile" and "Spirale" and
// the blur rectangle.
#include "tools/FigureTools.h"
#include "effects/Blur.h"
#include "tools/ToolRegistry.h"
#include "tools/ToolTestSupport.h"

#include <sstream>

namespace px::test {
namespace {

constexpr const char* kBlank = "........\n........\n........\n........\n........\n........\n";

struct BandCase {
    const char* name;
    int tool;
    ToolEvent::Button button;
    Colour main;
    Colour background;
    const char* path; // press and moves as "x,y x,y ..."; the release is at (releaseX, releaseY)
    int releaseX, releaseY;
    const char* duringDrag; // after the last move
    const char* afterRelease;
    Colour penAfter;
};

class RubberBand : public ToolTest, public ::testing::WithParamInterface<BandCase> {};

// On white, NOT-XOR of a colour shows the colour itself and NOT-XOR of black
// shows black, so the band is read directly.
TEST_P(RubberBand, DrawsTheBandThenTheFinalFigure)
{
    const BandCase& c = GetParam();
    mainColour = c.main;
    backgroundColour = c.background;
    FigureTool tool(c.tool);
    std::istringstream path(c.path);
    int x = 0, y = 0;
    char comma = 0;
    path >> x >> comma >> y;
    tool.press(press(x, y, c.button), context());
    while (path >> x >> comma >> y)
        tool.move(move(x, y, c.button), context());
    EXPECT_EQ(picture(document), c.duringDrag);
    tool.release(release(c.releaseX, c.releaseY, c.button), context());
    EXPECT_EQ(picture(document), c.afterRelease);
    EXPECT_EQ(canvas.penColour(), c.penAfter);
    EXPECT_FALSE(state.whitePenPreview);
    EXPECT_FALSE(state.strokeActive);
    ASSERT_EQ(host.snapshots.size(), 1u);
    EXPECT_EQ(picture(host.snapshots[0]), kBlank) << "the snapshot holds no band";
}

constexpr const char* kRedBox = "........\n.rrrr...\n.r..r...\n.rrrr...\n........\n........\n";

INSTANTIATE_TEST_SUITE_P(
    Figures, RubberBand,
    ::testing::Values(BandCase{"RedRectangle", kRectangleTool, ToolEvent::Left, kRed, kBlue, "1,1 5,4", 5, 4, kRedBox,
                               kRedBox, kRed},
                      // A white figure's band is black; the white final figure covers it.
                      BandCase{"WhiteRectangle", kRectangleTool, ToolEvent::Left, kWhite, kBlue, "1,1 5,4", 5, 4,
                               "........\n.####...\n.#..#...\n.####...\n........\n........\n", kBlank, kWhite},
                      // Right button: pen in the background colour (white), band black.
                      BandCase{"RightButtonLine", kLineTool, ToolEvent::Right, kBlack, kWhite, "1,1 6,1", 6, 1,
                               "........\n.#####..\n........\n........\n........\n........\n", kBlank, kWhite},
                      // The last band stays where the final figure does not cover it.
                      BandCase{"ReleaseAwayFromTheLastMove", kRectangleTool, ToolEvent::Left, kRed, kBlue,
                               "1,1 5,4 3,3", 6, 5, "........\n.rr.....\n.rr.....\n........\n........\n........\n",
                               "........\n.rrrrr..\n.rr..r..\n.r...r..\n.rrrrr..\n........\n", kRed}),
    [](const auto& info) { return std::string(info.param.name); });

// A middle-button press starts nothing: no snapshot, no band, no figure.
TEST_F(ToolTest, MiddleButtonStartsNothing)
{
    FigureTool tool(kEllipseTool);
    drag(tool, {{1, 1}, {5, 4}}, ToolEvent::Middle);
    EXPECT_TRUE(host.snapshots.empty());
    EXPECT_EQ(picture(document), kBlank);
}

// A click draws the figure of no size: nothing, for the rectangle and the
// square (side 0) alike; the undo step is taken all the same.
TEST_F(ToolTest, ClickDrawsTheDegenerateFigure)
{
    for (const int id : {kRectangleTool, kSquareTool, kEllipseTool, kCircleTool, kRoundRectTool, kLineTool}) {
        FigureTool tool(id);
        drag(tool, {{3, 3}});
        EXPECT_EQ(picture(document), kBlank) << id;
    }
    EXPECT_EQ(host.snapshots.size(), 6u);
}

// side = min(60 - 100, 150 - 100) = -40: the square (100, 100, 60, 60),
// columns and rows 60..99.
TEST_F(ToolTest, SquareDraggedUpAndLeftGrowsFromThePressPoint)
{
    document = Bitmap(160, 160, 24);
    document.fill(kWhite);
    FigureTool tool(kSquareTool);
    tool.press(press(100, 100), context());
    const Damage band = tool.move(move(60, 150), context());
    EXPECT_EQ(band.bounds(), (Rect{60, 60, 100, 100}));
    tool.release(release(60, 150), context());
    for (const Point p : {Point{60, 60}, Point{99, 60}, Point{60, 99}, Point{99, 99}, Point{80, 60}, Point{99, 80}})
        EXPECT_EQ(document.pixel(p.x, p.y), kRed) << p.x << "," << p.y;
    for (const Point p : {Point{100, 100}, Point{80, 80}, Point{60, 100}, Point{60, 149}, Point{100, 60}})
        EXPECT_EQ(document.pixel(p.x, p.y), kWhite) << p.x << "," << p.y;
}

// (10, 10)-(50, 30): corner ellipse ((10 - 50) div 2, (10 - 30) div 2) =
// (-20, -10), whose signs do not matter.
TEST_F(ToolTest, RoundedRectangleCornerEllipseIsHalfTheSignedDrag)
{
    document = Bitmap(60, 40, 24);
    document.fill(kWhite);
    Bitmap expected = document;
    Canvas reference(expected);
    reference.setPenColour(kRed);
    reference.setBrushHollow(true);
    reference.roundRect(10, 10, 50, 30, 20, 10);

    FigureTool tool(kRoundRectTool);
    drag(tool, {{10, 10}, {50, 30}});
    EXPECT_EQ(document, expected) << dumpMismatch("roundrect", document, expected);
    EXPECT_EQ(document.pixel(10, 10), kWhite) << "the corner is cut";
    EXPECT_EQ(document.pixel(30, 10), kRed);
    EXPECT_EQ(document.pixel(10, 20), kRed);
    EXPECT_EQ(document.pixel(49, 29), kWhite);
}

struct FillCase {
    const char* name;
    bool solid;
    bool bicolour;
    ToolEvent::Button button;
    const char* picture; // rectangle (1, 1)-(5, 4)
};

class FigureFill : public ToolTest, public ::testing::WithParamInterface<FillCase> {};

// "Bicolore" fills with the other colour; without it the fill is the press
// colour; "Transparent" leaves the inside alone.
TEST_P(FigureFill, BrushFollowsFillAndBicolour)
{
    const FillCase& c = GetParam();
    options.rectangle.solidFill = c.solid;
    options.rectangle.bicolour = c.bicolour;
    FigureTool tool(kRectangleTool);
    drag(tool, {{1, 1}, {5, 4}}, c.button);
    EXPECT_EQ(picture(document), c.picture);
}

INSTANTIATE_TEST_SUITE_P(Fills, FigureFill,
                         ::testing::Values(FillCase{"Hollow", false, true, ToolEvent::Left, kRedBox},
                                           FillCase{"SolidPressColour", true, false, ToolEvent::Left,
                                                    "........\n.rrrr...\n.rrrr...\n.rrrr...\n........\n........\n"},
                                           FillCase{"SolidOtherColour", true, true, ToolEvent::Left,
                                                    "........\n.rrrr...\n.rbbr...\n.rrrr...\n........\n........\n"},
                                           FillCase{"RightButtonBicolour", true, true, ToolEvent::Right,
                                                    "........\n.bbbb...\n.brrb...\n.bbbb...\n........\n........\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The options are read at the press: a change during a drag applies to the
// next figure, not to the one in progress.
TEST_F(ToolTest, OptionsChangedDuringADragApplyToTheNextFigure)
{
    options.rectangle.penWidth = 1;
    options.rectangle.penStyle = PenStyle::Dash;
    FigureTool tool(kRectangleTool);
    tool.press(press(1, 1), context());
    options.rectangle.penWidth = 3;
    options.rectangle.penStyle = PenStyle::Solid;
    tool.move(move(5, 4), context());
    tool.release(release(5, 4), context());
    EXPECT_EQ(canvas.penWidth(), 1);
    EXPECT_EQ(canvas.penStyle(), PenStyle::Dash);
    tool.press(press(1, 1), context());
    EXPECT_EQ(canvas.penWidth(), 3);
    EXPECT_EQ(canvas.penStyle(), PenStyle::Solid);
}

// Each figure tool reads its own page; "Ligne" its size and type.
TEST_F(ToolTest, EachFigureReadsItsOwnPage)
{
    options.lineWidth = 7;
    options.rectangle.penWidth = 2;
    options.roundRect.penWidth = 3;
    options.ellipse.penWidth = 4;
    options.square.penWidth = 5;
    options.circle.penWidth = 6;
    const std::pair<int, int> widths[] = {{kLineTool, 7},    {kRectangleTool, 2}, {kRoundRectTool, 3},
                                          {kEllipseTool, 4}, {kSquareTool, 5},    {kCircleTool, 6}};
    for (const auto& [id, width] : widths) {
        FigureTool tool(id);
        tool.press(press(1, 1), context());
        EXPECT_EQ(canvas.penWidth(), width) << id;
        tool.release(release(1, 1), context());
    }
}

struct RayCase {
    const char* name;
    bool spiral;
    std::vector<Point> moves; // after a press at (1, 1), then the release
    const char* picture;      // on black
};

class Rays : public ToolTest, public ::testing::WithParamInterface<RayCase> {};

// The first ray is NOT-XOR (red on black shows cyan); later moves draw in
// the pen colour, the previous ray again first.
TEST_P(Rays, LeaveTheirRays)
{
    const RayCase& c = GetParam();
    document = fromAscii({"########", "########", "########", "########"});
    RayTool tool(c.spiral);
    tool.press(press(1, 1), context());
    for (const Point p : c.moves)
        tool.move(move(p.x, p.y), context());
    tool.release(release(c.moves.back().x, c.moves.back().y), context());
    EXPECT_EQ(picture(document), c.picture);
    EXPECT_EQ(canvas.penMode(), MixMode::Copy);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, Rays,
    ::testing::Values(RayCase{"StarOneMove", false, {{5, 1}}, "########\n#cccc###\n########\n########\n"},
                      RayCase{"StarTwoMoves", false, {{5, 1}, {1, 3}}, "########\n#rrrr###\n#r######\n########\n"},
                      RayCase{"SpiralTwoMoves", true, {{5, 1}, {5, 3}}, "########\n#rrrrr##\n#####r##\n########\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A picture where every pixel differs from its neighbours, so that a blur
// changes every pixel it touches.
Bitmap stripes(int w, int h)
{
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, makeColour(x * 40, y * 50, ((x + y) % 2) * 200));
    return b;
}

// Dragged from (2, 1) to (5, 4): the figure covers columns 2..4 and rows
// 1..3, and exactly those are blurred (once: the rectangle of the press has
// no size).
TEST_F(ToolTest, BlurRectangleBlursExactlyTheDraggedArea)
{
    document = stripes(8, 6);
    Bitmap expected = document;
    Flou4(expected, 2, 1, 4, 3);
    BlurRectTool blur;
    blur.press(press(2, 1), context());
    const Damage changed = blur.move(move(5, 4), context());
    blur.release(release(5, 4), context());
    EXPECT_EQ(document, expected) << dumpMismatch("blurrect", document, expected);
    EXPECT_EQ(changed.bounds(), (Rect{2, 1, 5, 4}));
    EXPECT_EQ(canvas.penColour(), kRed) << "the pen takes the main colour at the release";
    EXPECT_EQ(host.snapshots.size(), 1u);
}

// Every move blurs the previous rectangle and the new one once more.
TEST_F(ToolTest, BlurRectangleAccumulatesWhileDragging)
{
    document = stripes(8, 6);
    Bitmap expected = document;
    Flou4(expected, 2, 1, 4, 3);
    Flou4(expected, 2, 1, 4, 3);
    Flou4(expected, 2, 1, 5, 4);
    BlurRectTool blur;
    blur.press(press(2, 1, ToolEvent::Middle), context());
    blur.move(move(5, 4, ToolEvent::Middle), context());
    blur.move(move(6, 5, ToolEvent::Middle), context());
    EXPECT_EQ(document, expected);
}

} // namespace
} // namespace px::test
