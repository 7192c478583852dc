#pragma once
// The entries of the effects index, in list order, and the preview of one
// entry. Each entry names the effect row whose menu command OK runs; the
// description shown beside the list is that row's own.
//
// A preview runs the row's routine with the row's values on a copy of the
// document, except where the index shows less than the command does:
// "Bruit avec couleur plus" previews with the amount 50, "Triangle plus"
// with a = 50, and no preview has a canvas brush to XOR with, so "Contour"
// and "Sculpture" show their convolution followed by the grey step, and
// "Trait" its convolution alone.
#include "effects/Effect.h"
#include "effects/EffectFrame.h"

#include <span>

namespace px {

struct IndexEntry {
    const char* text;    // the list's text, e.g. "Bruit avec couleur"
    const char* command; // component name of the row's menu item, "Bruitcouleur1"
};

// The 67 entries, in the order the list shows them.
std::span<const IndexEntry> effectsIndexEntries();

// The row an entry runs, or null when the registry lacks it.
const EffectCommand* indexEntryRow(const EffectRegistry& effects, int entry);

// The context a preview runs in: the document's colours, its canvas's
// brush colour (the XOR step of "Contour", "Sculpture" and "Trait" shows in
// the preview as OK will apply it) and the random generator, but no canvas:
// a preview leaves the document's pen and brush alone.
EffectContext indexPreviewContext(const EffectContext& document);

// Replaces `preview` (a 24-bit copy of the document) by the entry's
// preview. `context` is one made by indexPreviewContext. Throws what the
// routine throws; does nothing for an empty bitmap or an unknown entry.
void computeIndexPreview(const EffectRegistry& effects, int entry, Bitmap& preview, const EffectContext& context,
                         EffectScratch& scratch);

} // namespace px
