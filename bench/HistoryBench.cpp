// Undo snapshot and effect frame costs, as ratios to BM_Memcpy.
#include "BenchImage.h"
#include "effects/EffectFrame.h"
#include "graphics/SnapshotHistory.h"

namespace px::bench {
namespace {

// Both rings filled once, as after a few edits: from then on snapshots
// recycle their slots' memory instead of asking the system for more.
void warmUp(EditHistory& history, Bitmap& doc)
{
    for (int i = 0; i < 2 * history.levels() + 1; ++i) {
        history.SaveUndoState(doc);
        history.Undo(doc);
        history.SaveUndoState(doc);
    }
}

// One SaveUndoState followed by one undo, as every edit-then-undo costs.
void BM_SaveUndoStateThenUndo(::benchmark::State& state)
{
    Bitmap doc = photoImage();
    EditHistory history(5);
    warmUp(history, doc);
    for (auto _ : state) {
        history.SaveUndoState(doc);
        history.Undo(doc);
        ::benchmark::DoNotOptimize(doc.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_SaveUndoStateThenUndo)->Unit(::benchmark::kMillisecond)->UseRealTime();

// The frame's own work around a routine that does nothing: what every
// effect pays besides its pixels (undo snapshot included).
void BM_EffectFrameOverhead(::benchmark::State& state)
{
    Bitmap doc = photoImage();
    EditHistory history(5);
    EffectScratch scratch;
    EffectCommand nothing{.name = "Rien", .caption = "Rien", .shape = EffectCommand::Shape::InPlace};
    nothing.inPlace = [](Bitmap&, const EffectContext&, std::span<const int>) {};
    warmUp(history, doc);
    for (auto _ : state) {
        history.SaveUndoState(doc);
        applyEffect(nothing, doc, EffectContext{}, {}, scratch);
        ::benchmark::DoNotOptimize(doc.bits());
    }
    setImageBytes(state);
}
BENCHMARK(BM_EffectFrameOverhead)->Unit(::benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace px::bench
