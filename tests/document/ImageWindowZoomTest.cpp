// The zoom of the image window's view: Ctrl + the wheel around the pointer,
// Ctrl+0, and the tools, the magnifier and the position in image pixels at
// every zoom.
#include "document/DocumentView.h"
#include "document/ImageWindow.h"
#include "document/SessionFixture.h"
#include "support/TestSupport.h"
#include "tools/ToolRegistry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace px {
namespace {

class ImageWindowZoomTest : public test::SessionTest {
protected:
    static Bitmap whiteImage(int w, int h)
    {
        Bitmap b(w, h, 24);
        b.fill(kWhite);
        return b;
    }

    // A Ctrl + wheel turn of `notches` (positive: away from the user) at
    // `at` in the scroll area's viewport.
    static void wheel(ImageWindow& window, QPointF at, int notches, Qt::KeyboardModifiers modifiers)
    {
        QWidget* viewport = window.scrollArea()->viewport();
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }

    // The image point under a viewport position.
    static QPoint imageUnder(ImageWindow& window, QPoint at)
    {
        return window.view()->imagePosition(QPointF(at - window.view()->pos()) + QPointF(0.5, 0.5));
    }

    // A mouse event on the view at view position `at`.
    static void mouse(DocumentView* view, QEvent::Type type, QPointF at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, view->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
};

TEST(ToolEventOfZoomedView, GivesImagePixels)
{
    const QMouseEvent at3(QEvent::MouseButtonPress, QPointF(10.5, 7.9), QPointF(10.5, 7.9), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
    const ToolEvent e3 = toolEventOf(at3, ZoomFactor{3, 1});
    EXPECT_EQ(e3.x, 3);
    EXPECT_EQ(e3.y, 2);
    const ToolEvent quarter = toolEventOf(at3, ZoomFactor{1, 4});
    EXPECT_EQ(quarter.x, 42);
    EXPECT_EQ(quarter.y, 31);
}

// The point under the pointer stays under it while the zoom steps; the
// steps stop at 16 and 1/16; Ctrl+0 returns to 1:1; the wheel without Ctrl
// does not zoom.
TEST_F(ImageWindowZoomTest, CtrlWheelZoomsAroundThePointer)
{
    ImageWindow window(session);
    window.setDocument(whiteImage(300, 300));
    window.resize(400, 300);
    window.show();
    QApplication::processEvents();
    const QPoint pointer(30, 40);
    ASSERT_EQ(imageUnder(window, pointer), QPoint(30, 40));

    const ZoomFactor expected[] = {{2, 1}, {3, 1}, {4, 1}, {6, 1}};
    for (const ZoomFactor& zoom : expected) {
        wheel(window, pointer, 1, Qt::ControlModifier);
        EXPECT_EQ(window.viewZoom(), zoom);
        EXPECT_EQ(window.view()->size(), QSize(300 * zoom.num, 300 * zoom.num));
        EXPECT_EQ(imageUnder(window, pointer), QPoint(30, 40)) << zoom.num;
    }
    wheel(window, pointer, 10, Qt::ControlModifier);
    EXPECT_EQ(window.viewZoom(), (ZoomFactor{16, 1}));
    EXPECT_EQ(imageUnder(window, pointer), QPoint(30, 40));

    wheel(window, pointer, -1, Qt::NoModifier);
    EXPECT_EQ(window.viewZoom(), (ZoomFactor{16, 1}));

    wheel(window, pointer, -30, Qt::ControlModifier);
    EXPECT_EQ(window.viewZoom(), (ZoomFactor{1, 16}));
    EXPECT_EQ(window.view()->size(), QSize(19, 19)); // 300 / 16 = 18.75, rounded up

    window.activateWindow();
    window.setFocus();
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(window.viewZoom(), ZoomFactor{});
    EXPECT_EQ(window.view()->size(), QSize(300, 300));
}

struct StrokeCase {
    const char* name;
    ToolId tool;
    ZoomFactor zoom;
    std::vector<QPointF> viewPoints; // press, moves, release
};

class ToolAtZoom : public ImageWindowZoomTest, public ::testing::WithParamInterface<StrokeCase> {};

// A stroke or a figure drawn at any zoom changes the same image pixels as
// the same drag through the image pixels under the pointer at 1:1 (a
// rectangle drawn at 3x lands where it would at 1x); the position panel
// follows in image pixels.
TEST_P(ToolAtZoom, DrawsOnTheImagePixelsUnderThePointer)
{
    const StrokeCase& c = GetParam();
    session.currentTool = c.tool;
    auto draw = [&](ZoomFactor zoom, const std::vector<QPointF>& points, std::vector<QPoint>* positions) {
        ImageWindow window(session);
        window.setDocument(whiteImage(40, 30));
        window.setViewZoom(zoom);
        if (positions)
            QObject::connect(&window, &ImageWindow::mousePositionChanged,
                             [positions](int x, int y) { positions->push_back(QPoint(x, y)); });
        mouse(window.view(), QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
        for (std::size_t i = 1; i < points.size(); ++i)
            mouse(window.view(), QEvent::MouseMove, points[i], Qt::LeftButton);
        mouse(window.view(), QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
        return window.document();
    };
    std::vector<QPointF> imagePoints;
    std::vector<QPoint> expectedPositions;
    for (const QPointF& p : c.viewPoints) {
        const QPoint image(int(std::floor(p.x() * c.zoom.den / c.zoom.num)),
                           int(std::floor(p.y() * c.zoom.den / c.zoom.num)));
        imagePoints.push_back(QPointF(image) + QPointF(0.5, 0.5));
        expectedPositions.push_back(image);
    }
    expectedPositions.erase(expectedPositions.begin()); // moves only
    std::vector<QPoint> positions;
    const Bitmap zoomed = draw(c.zoom, c.viewPoints, &positions);
    const Bitmap plain = draw(ZoomFactor{}, imagePoints, nullptr);
    EXPECT_FALSE(plain == whiteImage(40, 30)) << "the stroke drew nothing";
    EXPECT_TRUE(zoomed == plain) << test::dumpMismatch(std::string("stroke_") + c.name, zoomed, plain);
    EXPECT_EQ(positions, expectedPositions);
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, ToolAtZoom,
    ::testing::Values(
        StrokeCase{"CrayonThree", kCrayonTool, {3, 1}, {{7.5, 8.2}, {20.9, 8.2}, {50.1, 40.7}, {61.0, 44.0}}},
        StrokeCase{"CrayonSixteen", kCrayonTool, {16, 1}, {{17, 30}, {100, 31}, {300, 200}}},
        StrokeCase{"CrayonQuarter", kCrayonTool, {1, 4}, {{1, 1}, {5.5, 2}, {9.9, 7}}},
        // The drag of a figure: its outline follows the pointer, then lands.
        StrokeCase{"RectangleThree", kRectangleTool, {3, 1}, {{10.2, 7.9}, {40.5, 30.1}, {80.9, 61.4}}},
        StrokeCase{"EllipseHalf", kEllipseTool, {1, 2}, {{2.5, 1.2}, {9.9, 8.0}, {15.1, 12.7}}},
        StrokeCase{"LineSixteen", kLineTool, {16, 1}, {{40, 50}, {200, 130}, {380, 420}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The magnifier shows the image around the image pixel under the pointer,
// whatever the view's zoom.
TEST_F(ImageWindowZoomTest, MagnifierFollowsTheImagePixelUnderThePointer)
{
    Bitmap doc = whiteImage(20, 20);
    doc.setPixel(5, 6, makeColour(255, 0, 0));
    auto magnified = [&](ZoomFactor zoom, QPoint viewPoint) {
        ImageWindow window(session);
        window.move(0, 0);
        window.setDocument(doc);
        window.setViewZoom(zoom);
        window.setZoomStep(7);
        window.show();
        QApplication::processEvents();
        window.updateMagnifier(window.view()->mapToGlobal(viewPoint));
        return window.magnifierImage();
    };
    const Bitmap plain = magnified(ZoomFactor{}, QPoint(5, 6));
    // Step 7 stretches 10 x 10 pixels around the pointer's pixel onto the
    // 150 x 150 magnifier: the pointer's pixel covers 75..89 (the cross-hair
    // runs along 82).
    EXPECT_EQ(plain.pixel(77, 77), makeColour(255, 0, 0));
    EXPECT_EQ(plain.pixel(72, 77), kWhite);
    for (const ZoomFactor& zoom : {ZoomFactor{3, 1}, ZoomFactor{8, 1}}) {
        const QPoint inside(5 * zoom.num + zoom.num - 1, 6 * zoom.num + 1);
        EXPECT_TRUE(magnified(zoom, inside) == plain) << zoom.num;
    }
}

} // namespace
} // namespace px
