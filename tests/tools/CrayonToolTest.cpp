// The pencil driven through tool events on a bitmap, without widgets.
#include "tools/CrayonTool.h"
#include "tools/ToolTestSupport.h"

namespace px::test {
namespace {

using CrayonTest = ToolTest;

// Width 1: the press sets its pixel, each move draws a line that leaves out
// its last pixel (the next line starts there), the release ends the stroke.
TEST_F(CrayonTest, StrokeDrawsThePolylineAndReportsEachChangedRectangle)
{
    CrayonTool crayon;
    EXPECT_EQ(crayon.press(press(1, 1), context()).bounds(), (Rect{1, 1, 2, 2}));
    EXPECT_EQ(crayon.move(move(4, 1), context()).bounds(), (Rect{1, 1, 4, 2}));
    EXPECT_EQ(crayon.move(move(4, 4), context()).bounds(), (Rect{4, 1, 5, 4}));
    EXPECT_EQ(crayon.release(release(4, 4), context()).bounds(), Rect{});
    EXPECT_EQ(crayon.move(move(7, 5, ToolEvent::NoButton), context()).bounds(), Rect{}) << "the stroke has ended";

    EXPECT_EQ(picture(document), "........\n"
                                 ".rrrr...\n"
                                 "....r...\n"
                                 "....r...\n"
                                 "........\n"
                                 "........\n");
    ASSERT_EQ(host.snapshots.size(), 1u);
    EXPECT_EQ(host.snapshots[0], fromAscii({"........", "........", "........", "........", "........", "........"}))
        << "the snapshot is taken before the first pixel";
    EXPECT_FALSE(state.strokeActive);
}

struct ClickCase {
    ToolEvent::Button button;
    const char* picture; // after a click at (2, 3)
    std::size_t snapshots;
};

class CrayonClick : public ToolTest, public ::testing::WithParamInterface<ClickCase> {};

// A click without moving paints one pixel in the button's colour; the middle
// button starts nothing, so a following move draws nothing either.
TEST_P(CrayonClick, PaintsOnePixelInThePressColour)
{
    const ClickCase& c = GetParam();
    CrayonTool crayon;
    crayon.press(press(2, 3, c.button), context());
    EXPECT_EQ(state.strokeActive, c.snapshots > 0);
    crayon.release(release(2, 3, c.button), context());
    EXPECT_EQ(crayon.move(move(5, 3, ToolEvent::NoButton), context()).bounds(), Rect{});
    EXPECT_EQ(picture(document), c.picture);
    EXPECT_EQ(host.snapshots.size(), c.snapshots);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, CrayonClick,
    ::testing::Values(ClickCase{ToolEvent::Left, "........\n........\n........\n..r.....\n........\n........\n", 1},
                      ClickCase{ToolEvent::Right, "........\n........\n........\n..b.....\n........\n........\n", 1},
                      ClickCase{ToolEvent::Middle, "........\n........\n........\n........\n........\n........\n", 0}));

// Width 3: the press leaves a 3 x 3 dot (every pixel centre nearer than 1.5
// to the point), a move a band three pixels high with round ends.
TEST_F(CrayonTest, WiderPenDrawsRoundDotAndBand)
{
    document = fromAscii({"..........", "..........", "..........", "..........", "..........", ".........."});
    options.crayonWidth = 3;
    CrayonTool crayon;
    EXPECT_EQ(crayon.press(press(2, 2), context()).bounds(), (Rect{1, 1, 4, 4}));
    EXPECT_EQ(crayon.move(move(6, 2), context()).bounds(), (Rect{1, 1, 8, 4}));
    EXPECT_EQ(picture(document), "..........\n"
                                 ".rrrrrrr..\n"
                                 ".rrrrrrr..\n"
                                 ".rrrrrrr..\n"
                                 "..........\n"
                                 "..........\n");
}

// The stroke copies its colour even when the previous tool left the canvas
// in an inverting mode; on black, NOT-XOR of red would give cyan.
TEST_F(CrayonTest, DrawsInCopyModeWhateverModeTheCanvasHeld)
{
    document = fromAscii({"######", "######"});
    canvas.setPenMode(MixMode::NotXor);
    CrayonTool crayon;
    crayon.press(press(0, 0), context());
    crayon.move(move(4, 0), context());
    EXPECT_EQ(picture(document), "rrrr##\n"
                                 "######\n");
}

} // namespace
} // namespace px::test
