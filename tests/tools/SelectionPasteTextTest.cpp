// "Sélection", the floating paste and the text tool, driven through the
// dispatcher as the image window drives them: the floating pictures catch
// the events on themselves whatever tool is selected.
#include "platform/qt/QtGlyphRasteriser.h"
#include "tools/FloatingPaste.h"
#include "tools/SelectionTool.h"
#include "tools/TextTool.h"
#include "tools/ToolDispatch.h"
#include "tools/ToolRegistry.h"
#include "tools/ToolTestSupport.h"

#include <set>

namespace px::test {
namespace {

// The block of `b` with corners (l, t) and (r, b) exclusive, copied pixel by pixel.
Bitmap block(const Bitmap& src, int l, int t, int r, int bottom)
{
    Bitmap out(r - l, bottom - t, 24);
    for (int y = t; y < bottom; ++y)
        for (int x = l; x < r; ++x)
            out.setPixel(x - l, y - t, src.pixel(x, y));
    return out;
}

class DispatchTest : public ToolTest {
protected:
    Damage pressAt(int x, int y, ToolEvent::Button b = ToolEvent::Left)
    {
        return dispatchPress(tools, current, press(x, y, b), context());
    }
    Damage moveTo(int x, int y, unsigned buttons = ToolEvent::Left)
    {
        return dispatchMove(tools, current, move(x, y, buttons), context());
    }
    Damage releaseAt(int x, int y, ToolEvent::Button b = ToolEvent::Left)
    {
        return dispatchRelease(tools, current, release(x, y, b), context());
    }

    ToolRegistry tools;
    int current = kSelectionTool;
};

struct DragCase {
    Point from;
    Point to;
};

class UprightSelection : public DispatchTest, public ::testing::WithParamInterface<DragCase> {};

// Whatever the direction of the drag, the clipboard receives the 40 x 20
// block with corners (10, 20) and (50, 40) the right way up, and the picture
// is left as it was.
TEST_P(UprightSelection, PutsTheBlockOnTheClipboardTheRightWayUp)
{
    const DragCase& c = GetParam();
    document = noise(60, 50);
    const Bitmap original = document;
    pressAt(c.from.x, c.from.y);
    moveTo(30, 30);
    moveTo(c.to.x, c.to.y);
    EXPECT_NE(document, original) << "the dashed band shows during the drag";
    releaseAt(c.to.x, c.to.y);
    EXPECT_EQ(document, original);
    const Bitmap expected = block(original, 10, 20, 50, 40);
    EXPECT_EQ(clipboard.image(), expected) << dumpMismatch("selection", clipboard.image(), expected);
    EXPECT_EQ(host.messages, std::vector<std::string>{SelectionTool::kPlacedMessage});
    EXPECT_TRUE(host.snapshots.empty()) << "the picture does not change";
}

INSTANTIATE_TEST_SUITE_P(Directions, UprightSelection,
                         ::testing::Values(DragCase{{10, 20}, {50, 40}}, DragCase{{50, 40}, {10, 20}},
                                           DragCase{{50, 20}, {10, 40}}, DragCase{{10, 40}, {50, 20}}));

// The rectangle is the last band's, not the release point's; a click
// without a drag selects nothing and leaves the clipboard alone.
TEST_F(DispatchTest, SelectionTakesTheLastBandAndAClickTakesNothing)
{
    document = noise(60, 50);
    const Bitmap original = document;
    clipboard.setImage(pictureOf({"r"}));
    pressAt(5, 5);
    releaseAt(5, 5);
    EXPECT_EQ(clipboard.image(), pictureOf({"r"}));
    EXPECT_TRUE(host.messages.empty());

    pressAt(5, 5);
    moveTo(8, 9);
    releaseAt(40, 40);
    EXPECT_EQ(clipboard.image(), block(original, 5, 5, 8, 9));
    EXPECT_EQ(document, original);
}

// A band that leaves the picture selects the part on it; an indexed picture
// comes back indexed.
TEST_F(DispatchTest, SelectionKeepsToThePictureAndItsDepth)
{
    document = noise(60, 50);
    const Bitmap original = document;
    pressAt(50, 40);
    moveTo(80, 70);
    releaseAt(80, 70);
    EXPECT_EQ(clipboard.image(), block(original, 50, 40, 60, 50));

    document = Bitmap(6, 4, 8);
    document.setPixelIndex(2, 2, 215);
    const Bitmap indexed = document;
    pressAt(0, 0);
    moveTo(3, 3);
    releaseAt(3, 3);
    EXPECT_EQ(document, indexed);
    EXPECT_EQ(clipboard.image().pixel(2, 2), indexed.pixel(2, 2));
}

// The dotted frame inverts the outline pixels whose x + y is even; a right
// click on the picture removes it and drops the picture where it is.
TEST_F(DispatchTest, PastedPictureIsFramedAndDroppedByTheRightButton)
{
    current = kCrayonTool;
    const Bitmap pasted = pictureOf({"rrr", "rrr"});
    startFloatingPaste(state, pasted);
    ASSERT_TRUE(state.floating.shown);
    EXPECT_EQ(state.floating.topLeft, (Point{0, 0}));
    EXPECT_EQ(picture(state.floating.image), "crc\nrcr\n") << "red inverted is cyan";
    EXPECT_EQ(picture(document).substr(0, 3), "...");

    pressAt(1, 1, ToolEvent::Right);
    releaseAt(1, 1, ToolEvent::Right);
    EXPECT_FALSE(state.floating.shown);
    EXPECT_EQ(picture(document), "rrr.....\nrrr.....\n........\n........\n........\n........\n");
    EXPECT_TRUE(host.snapshots.empty()) << "the paste command took the snapshot";
}

// The left button drags the picture; the selected tool sees none of it.
// Clicks off the picture go to the tool.
TEST_F(DispatchTest, LeftButtonDragsThePastedPictureWhateverTheTool)
{
    current = kCrayonTool;
    startFloatingPaste(state, pictureOf({"bb", "bb"}));
    pressAt(1, 0);
    const Damage moved = moveTo(4, 3);
    releaseAt(4, 3);
    EXPECT_EQ(state.floating.topLeft, (Point{3, 3}));
    EXPECT_EQ(moved.bounds(), (Rect{0, 0, 5, 5}));
    EXPECT_TRUE(host.snapshots.empty());
    EXPECT_EQ(picture(document), "........\n........\n........\n........\n........\n........\n");

    pressAt(0, 5);
    releaseAt(0, 5);
    EXPECT_EQ(document.pixel(0, 5), kRed) << "off the picture the crayon draws";

    pressAt(4, 4, ToolEvent::Right);
    EXPECT_EQ(picture(document), "........\n"
                                 "........\n"
                                 "........\n"
                                 "...bb...\n"
                                 "...bb...\n"
                                 "r.......\n");
}

// However far the pointer goes, one pixel of the picture stays on the
// document, so that it can be caught again.
TEST_F(DispatchTest, DraggedPictureStaysWithinReach)
{
    startFloatingPaste(state, pictureOf({"bbb", "bbb"}));
    pressAt(0, 0);
    moveTo(500, 400);
    EXPECT_EQ(state.floating.topLeft, (Point{7, 5}));
    moveTo(-500, -400);
    EXPECT_EQ(state.floating.topLeft, (Point{-2, -1}));
}

class TextToolTest : public DispatchTest {
protected:
    void SetUp() override
    {
        canvas.setGlyphRasteriser(&glyphs);
        document = Bitmap(80, 40, 24);
        document.fill(kWhite);
        current = kTextTool;
        options.text = "abc";
    }

    // The glyph pixels of the text in the options' font, placed at (x, y).
    std::set<std::pair<int, int>> glyphPixels(int x, int y) const
    {
        const GlyphMask mask = glyphs.render(options.font, options.text);
        std::set<std::pair<int, int>> pixels;
        for (int r = 0; r < mask.height; ++r)
            for (int c = 0; c < mask.width; ++c)
                if (mask.coverage[std::size_t(r * mask.width + c)] >= 128)
                    pixels.insert({x + c, y + r});
        return pixels;
    }
    std::set<std::pair<int, int>> pixelsOf(Colour colour) const
    {
        std::set<std::pair<int, int>> pixels;
        for (int y = 0; y < document.height(); ++y)
            for (int x = 0; x < document.width(); ++x)
                if (document.pixel(x, y) == colour)
                    pixels.insert({x, y});
        return pixels;
    }

    QtGlyphRasteriser glyphs;
};

struct TextCase {
    const char* name;
    Colour main;
    Colour ground;
    Colour fill; // of the floating picture
};

class TextColours : public TextToolTest, public ::testing::WithParamInterface<TextCase> {};

// The floating text is exactly the text's size, its fill left out; it stays
// centred on the pointer, and the next left click on it writes the glyphs
// in the main colour and nothing else.
TEST_P(TextColours, FloatsThenWritesTheGlyphsWhereTheyFloated)
{
    const TextCase& c = GetParam();
    mainColour = c.main;
    document.fill(c.ground);
    int w = 0, h = 0, ascent = 0;
    glyphs.measure(options.font, "abc", w, h, ascent);
    ASSERT_GT(w, 0);

    pressAt(5, 5);
    releaseAt(5, 5);
    ASSERT_TRUE(state.text.shown);
    EXPECT_EQ(state.text.image.width(), w);
    EXPECT_EQ(state.text.image.height(), h);
    EXPECT_EQ(state.text.topLeft, (Point{5, 5}));
    EXPECT_EQ(state.text.transparent, c.fill);
    EXPECT_EQ(state.text.image.pixel(w - 1, h - 1), c.fill);
    EXPECT_EQ(pixelsOf(c.ground).size(), 80u * 40u) << "nothing written yet";

    current = kCrayonTool; // the floating text catches the mouse whatever the tool
    moveTo(40, 20, ToolEvent::NoButton);
    const Point placed{40 - w / 2, 20 - h / 2};
    EXPECT_EQ(state.text.topLeft, placed);
    pressAt(40, 20);
    releaseAt(40, 20);
    EXPECT_FALSE(state.text.shown);
    EXPECT_FALSE(state.textPlacing);
    EXPECT_EQ(pixelsOf(c.main), glyphPixels(placed.x, placed.y));
    EXPECT_EQ(pixelsOf(c.main).size() + pixelsOf(c.ground).size(), 80u * 40u);
    EXPECT_EQ(host.snapshots.size(), 1u) << "the press took the snapshot, the drop none";
}

INSTANTIATE_TEST_SUITE_P(Colours, TextColours,
                         ::testing::Values(TextCase{"RedOnWhite", kRed, kWhite, kWhite},
                                           TextCase{"WhiteOnBlue", kWhite, kBlue, kBlack}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextToolTest, RightPressAndEmptyTextWriteNothing)
{
    pressAt(5, 5, ToolEvent::Right);
    EXPECT_FALSE(state.text.shown);
    EXPECT_TRUE(host.snapshots.empty());

    options.text.clear();
    pressAt(5, 5);
    EXPECT_TRUE(state.text.image.isEmpty());
    pressAt(5, 5);
    EXPECT_EQ(pixelsOf(kWhite).size(), 80u * 40u);
}

} // namespace
} // namespace px::test
