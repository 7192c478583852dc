// One repaint of the image window's view of the 4000 x 3000 image at 1/4, 1
// and 8 times: the part a 1920 x 1080 window shows, painted by the view's
// paint event into an image standing for the window's backing store.
#include "BenchImage.h"
#include "document/DocumentView.h"

#include <QApplication>
#include <QImage>

#include <cstdlib>

namespace px::bench {
namespace {

// Widgets need the application object; the offscreen platform needs no
// display.
void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Argument: the zoom, negative for 1/n.
ZoomFactor zoomOf(std::int64_t arg)
{
    return arg < 0 ? ZoomFactor{1, int(-arg)} : ZoomFactor{int(arg), 1};
}

// The visible part of the view: a 1920 x 1080 window over its middle.
QRect visiblePart(const DocumentView& view)
{
    QRect visible(QPoint(0, 0), QSize(1920, 1080));
    visible.moveCenter(view.rect().center());
    return visible & view.rect();
}

// The paint event of `part` of the view, drawn at the top left of `screen`
// (without a background: the view paints every pixel of it).
void repaint(DocumentView& view, QImage& screen, const QRect& part)
{
    view.render(&screen, QPoint(0, 0), QRegion(part), QWidget::RenderFlags());
}

void BM_ViewRepaint(::benchmark::State& state)
{
    ensureApplication();
    const Bitmap image = photoImage();
    DocumentView view;
    view.setBitmap(&image);
    view.setZoom(zoomOf(state.range(0)));
    const QRect visible = visiblePart(view);
    QImage screen(visible.size(), QImage::Format_RGB32);
    repaint(view, screen, visible); // a zoom below 1 builds its halved copies once
    for (auto _ : state) {
        repaint(view, screen, visible);
        ::benchmark::DoNotOptimize(screen.constBits());
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_ViewRepaint)->Arg(-4)->Arg(1)->Arg(8)->Unit(::benchmark::kMillisecond)->UseRealTime();

// The first repaint after zooming out from 1:1: the halved copies are built
// from the whole image, then the visible part is painted.
void BM_ViewZoomOutFirstRepaint(::benchmark::State& state)
{
    ensureApplication();
    const Bitmap image = photoImage();
    DocumentView view;
    view.setBitmap(&image);
    QImage screen(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        view.setZoom(ZoomFactor{});
        view.setZoom(zoomOf(state.range(0)));
        repaint(view, screen, visiblePart(view));
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_ViewZoomOutFirstRepaint)->Arg(-4)->Unit(::benchmark::kMillisecond)->UseRealTime();

// A tool's change of a 64 x 64 square repainted at 1/4: the halved copies
// follow the square, then its part of the view is painted.
void BM_ViewToolRepaintQuarter(::benchmark::State& state)
{
    ensureApplication();
    const Bitmap image = photoImage();
    DocumentView view;
    view.setBitmap(&image);
    view.setZoom(ZoomFactor{1, 4});
    QImage screen(1920, 1080, QImage::Format_RGB32);
    repaint(view, screen, visiblePart(view));
    const QRect changed(2000, 1500, 64, 64);
    for (auto _ : state) {
        view.bitmapChanged(changed);
        repaint(view, screen, view.viewRect(changed));
        ::benchmark::ClobberMemory();
    }
    setImageBytes(state);
}
BENCHMARK(BM_ViewToolRepaintQuarter)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
