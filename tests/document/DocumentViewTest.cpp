#include "document/DocumentView.h"
#include "platform/qt/BitmapPainter.h"

#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace px {
namespace {

TEST(ImageOfBitmap, TrueColourWrapsTheBitmapMemory)
{
    Bitmap b(3, 2, 24);
    b.setPixel(2, 1, makeColour(10, 20, 30));
    const QImage image = imageOfBitmap(b);
    EXPECT_EQ(image.constBits(), b.bits());
    EXPECT_EQ(image.bytesPerLine(), qsizetype(b.stride()));
    EXPECT_EQ(image.pixel(2, 1), qRgb(10, 20, 30));
    EXPECT_TRUE(imageOfBitmap(Bitmap()).isNull());
}

// An area taller than one strip of converted rows, reaching past the
// bitmap: the part on the bitmap shows its pixels where they are, the rest of
// the screen is left alone.
TEST(BitmapPainter, PaintsTheAreaInStripsAndNothingElse)
{
    const int side = 300; // 90000 pixels: more than one strip
    static_assert(side * side > BitmapPainter::kStripPixels);
    Bitmap b(side, side, 24);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            b.setPixel(x, y, makeColour(x % 256, y % 256, (x + y) % 256));
    QImage screen(side + 20, side + 20, QImage::Format_RGB32);
    screen.fill(qRgb(1, 2, 3));
    BitmapPainter painter;
    {
        QPainter p(&screen);
        painter.paint(p, b, QRect(10, 5, side + 10, side));
    }
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const bool inside = x >= 10 && x < side && y >= 5 && y < side;
            const QRgb want = inside ? qRgb(x % 256, y % 256, (x + y) % 256) : qRgb(1, 2, 3);
            ASSERT_EQ(screen.pixel(x, y), want) << x << "," << y;
        }
}

class IndexedImage : public ::testing::TestWithParam<int> {};

// Each indexed depth shows its palette colours: pixel (x, 1) holds index
// x mod 2^bpp of a palette of distinct greens, row 0 index 0.
TEST_P(IndexedImage, ShowsThePaletteColours)
{
    const int bpp = GetParam();
    Bitmap b(5, 2, bpp);
    const int entries = 1 << bpp;
    std::vector<Colour> palette;
    for (int i = 0; i < entries; ++i)
        palette.push_back(makeColour(0, i, 100));
    b.setPalette(palette);
    for (int x = 0; x < 5; ++x)
        b.setPixelIndex(x, 1, x % entries);
    const QImage image = imageOfBitmap(b);
    ASSERT_EQ(image.size(), QSize(5, 2));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image.pixel(x, 1), qRgb(0, x % entries, 100)) << "x=" << x;
        EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 100));
    }
    if (bpp != 4) {
        EXPECT_EQ(image.constBits(), b.bits());
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, IndexedImage, ::testing::Values(1, 4, 8));

struct MouseCase {
    QEvent::Type type;
    double x, y;
    Qt::MouseButton button;
    Qt::MouseButtons held;
    Qt::KeyboardModifiers modifiers;
    int toolX, toolY;
    ToolEvent::Button toolButton;
    unsigned toolButtons, toolModifiers;
};

class ToolEventOfMouse : public ::testing::TestWithParam<MouseCase> {};

// Positions are floored to the pixel that holds them (also left of and above
// the view during a drag); buttons and modifiers become flags.
TEST_P(ToolEventOfMouse, GivesThePixelButtonsAndModifiers)
{
    const MouseCase& c = GetParam();
    const QMouseEvent event(c.type, QPointF(c.x, c.y), QPointF(c.x, c.y), c.button, c.held, c.modifiers);
    const ToolEvent e = toolEventOf(event);
    EXPECT_EQ(e.x, c.toolX);
    EXPECT_EQ(e.y, c.toolY);
    EXPECT_EQ(e.button, c.toolButton);
    EXPECT_EQ(e.buttons, c.toolButtons);
    EXPECT_EQ(e.modifiers, c.toolModifiers);
}

INSTANTIATE_TEST_SUITE_P(
    Events, ToolEventOfMouse,
    ::testing::Values(MouseCase{QEvent::MouseButtonPress, 3.7, 4.2, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, 3,
                                4, ToolEvent::Left, ToolEvent::Left, ToolEvent::NoModifier},
                      MouseCase{QEvent::MouseButtonPress, 0, 0, Qt::RightButton, Qt::LeftButton | Qt::RightButton,
                                Qt::ShiftModifier | Qt::ControlModifier, 0, 0, ToolEvent::Right,
                                ToolEvent::Left | ToolEvent::Right, ToolEvent::Shift | ToolEvent::Control},
                      MouseCase{QEvent::MouseMove, -0.5, -3, Qt::NoButton, Qt::MiddleButton, Qt::AltModifier, -1, -3,
                                ToolEvent::NoButton, ToolEvent::Middle, ToolEvent::Alt},
                      MouseCase{QEvent::MouseButtonRelease, 700, 2, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, 700,
                                2, ToolEvent::Left, ToolEvent::NoButton, ToolEvent::NoModifier}));

// The floating picture is painted over the bitmap, clipped to the view, and
// its transparent colour lets the bitmap show through.
TEST(DocumentView, PaintsTheFloatingImageOverTheBitmap)
{
    const Colour red = makeColour(255, 0, 0);
    const Colour green = makeColour(0, 255, 0);
    Bitmap document(4, 3, 24);
    document.fill(kWhite);
    FloatingImage floating;
    floating.image = Bitmap(3, 2, 24);
    floating.image.fill(red);
    floating.image.setPixel(0, 0, green);
    floating.topLeft = {2, 1};
    floating.transparent = green;

    DocumentView view;
    view.setBitmap(&document);
    view.setFloatingImage(&floating);
    QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixel(3, 2), qRgb(255, 255, 255)) << "not shown yet";
    floating.shown = true;
    view.bitmapChanged(QRect(2, 1, 2, 2));
    shown = view.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(4, 3));
    const char* expected[] = {"....", "...r", "..rr"};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shown.pixel(x, y), expected[y][x] == 'r' ? qRgb(255, 0, 0) : qRgb(255, 255, 255))
                << x << "," << y;
}

struct ZoomedPaintCase {
    int zoom; // view pixels per bitmap pixel
    int bitsPerPixel;
};

class ZoomedPaint : public ::testing::TestWithParam<ZoomedPaintCase> {};

// The painted view at 1:1 and 3x, for a true-colour and a 4-bit bitmap: each
// bitmap pixel is a block of zoom x zoom view pixels, and the floating
// picture's pixels are blocks of the same size over the same bitmap pixels.
TEST_P(ZoomedPaint, BitmapAndFloatingImageInBlocks)
{
    const auto [zoom, bpp] = GetParam();
    const Colour blue = makeColour(0, 0, 255);
    Bitmap document(4, 3, bpp);
    if (bpp == 24) {
        document.fill(kWhite);
        document.setPixel(0, 2, blue);
    } else {
        document.setPalette({kWhite, blue});
        document.setPixelIndex(0, 2, 1);
    }
    FloatingImage floating;
    floating.image = Bitmap(2, 1, 24);
    floating.image.fill(makeColour(255, 0, 0));
    floating.topLeft = {1, 0};
    floating.shown = true;

    DocumentView view;
    view.setBitmap(&document);
    view.setFloatingImage(&floating);
    view.setZoom(ZoomFactor{zoom, 1});
    const QImage shown = view.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(4 * zoom, 3 * zoom));
    const char* expected[] = {".rr.", "....", "b..."};
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const char c = expected[y / zoom][x / zoom];
            const QRgb want = c == 'r' ? qRgb(255, 0, 0) : c == 'b' ? qRgb(0, 0, 255) : qRgb(255, 255, 255);
            ASSERT_EQ(shown.pixel(x, y), want) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedPaint,
                         ::testing::Values(ZoomedPaintCase{1, 24}, ZoomedPaintCase{3, 24}, ZoomedPaintCase{1, 4},
                                           ZoomedPaintCase{3, 4}),
                         [](const auto& info) {
                             return std::to_string(info.param.zoom) + "x_" + std::to_string(info.param.bitsPerPixel) +
                                    "bits";
                         });

} // namespace
} // namespace px
