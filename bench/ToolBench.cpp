// One mouse move of a drawing tool on the 4000 x 3000 image, with the repaint
// of what it reports changed, against the repaint of the whole image: the
// counter vs_full_repaint is the ratio (a drag must stay well under 0.05).
// Both repaints go through the image window's own painting code
// (BitmapPainter) into a 32-bit image, the form of a window's backing store.
#include "BenchImage.h"
#include "graphics/Random.h"
#include "platform/MemoryClipboard.h"
#include "platform/qt/BitmapPainter.h"
#include "platform/ScriptedPrompter.h"
#include "tools/CrayonTool.h"
#include "tools/FigureTools.h"
#include "tools/ToolOptions.h"
#include "tools/ToolRegistry.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>

namespace px::bench {
namespace {

class NoHost : public ToolHost {
public:
    void saveUndoState() override {}
    void showMessage(const std::string&) override {}
    void showColourReadOut(Colour) override {}
    void setMainColour(Colour) override {}
    void setBackgroundColour(Colour) override {}
};

// A document with its canvas and tool state, and a screen to repaint into.
struct Scene {
    Bitmap document = photoImage();
    Canvas canvas{document};
    ToolState state;
    ToolOptions options;
    MemoryClipboard clipboard;
    ScriptedPrompter prompter;
    RandomGenerator random;
    NoHost host;
    QImage screen{kWidth, kHeight, QImage::Format_RGB32};
    BitmapPainter painter;

    ToolContext context()
    {
        return ToolContext{document, canvas, state, makeColour(200, 20, 20), kWhite, options, clipboard,
                           prompter, random, host};
    }
    void repaint(const Damage& changed)
    {
        QPainter p(&screen);
        for (const Rect& r : changed.rects())
            painter.paint(p, document, QRect(r.left, r.top, r.width(), r.height()));
    }
    void repaintAll()
    {
        QPainter p(&screen);
        painter.paint(p, document, QRect(0, 0, kWidth, kHeight));
    }
};

using Clock = std::chrono::steady_clock;

// The fastest of a few full repaints.
double fullRepaintSeconds(Scene& scene)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        scene.repaintAll();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

void BM_RepaintFullImage(::benchmark::State& state)
{
    Scene scene;
    for (auto _ : state)
        scene.repaintAll();
    setImageBytes(state);
}
BENCHMARK(BM_RepaintFullImage)->Unit(::benchmark::kMillisecond)->UseRealTime();

// Runs one move of `tool` per iteration, alternating between two nearby
// points as a hand does, and repaints what it reports.
void runMoves(::benchmark::State& state, Tool& tool, Point pressAt, Point a, Point b)
{
    Scene scene;
    const double full = fullRepaintSeconds(scene);
    tool.press(ToolEvent{pressAt.x, pressAt.y, ToolEvent::Left, ToolEvent::Left}, scene.context());
    bool first = true;
    const auto t0 = Clock::now();
    for (auto _ : state) {
        const Point p = first ? a : b;
        first = !first;
        scene.repaint(tool.move(ToolEvent{p.x, p.y, ToolEvent::NoButton, ToolEvent::Left}, scene.context()));
    }
    const double perMove = std::chrono::duration<double>(Clock::now() - t0).count() / double(state.iterations());
    state.counters["vs_full_repaint"] = perMove / full;
}

// A rubber band over most of the image: the previous outline is erased and
// the new one drawn, and only the bands are repainted.
void BM_RectangleMove(::benchmark::State& state)
{
    FigureTool rectangle(kRectangleTool);
    runMoves(state, rectangle, {300, 200}, {3700, 2800}, {3697, 2796});
}
BENCHMARK(BM_RectangleMove)->Unit(::benchmark::kMillisecond)->UseRealTime();

// A free-hand segment of a few pixels.
void BM_CrayonMove(::benchmark::State& state)
{
    CrayonTool crayon;
    runMoves(state, crayon, {2000, 1500}, {2006, 1503}, {2000, 1500});
}
BENCHMARK(BM_CrayonMove)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
