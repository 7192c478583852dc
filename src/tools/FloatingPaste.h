#pragma once
// The pasted picture that floats over the document until it is dropped
// (pPaste and imPaste). It catches the clicks on itself whatever tool is
// selected: the left button drags it, the right button drops it into the
// document where it is seen.
#include "tools/Tool.h"

namespace px {

// The status text while a pasted picture waits to be dropped.
inline constexpr const char* kDropPasteMessage = "Cliquez sur le bouton droit sur la sélection pour la coller";

// Shows `picture` floating with its top-left corner on the document's, framed
// by the dotted focus rectangle. Returns the area to repaint.
Damage startFloatingPaste(ToolState& state, const Bitmap& picture);

// True when the pasted picture is shown and the event's point lies on it.
bool floatingPasteCatches(const ToolState& state, const ToolEvent& event);

Damage floatingPastePress(const ToolEvent& event, const ToolContext& context);
Damage floatingPasteMove(const ToolEvent& event, const ToolContext& context);
Damage floatingPasteRelease(const ToolEvent& event, const ToolContext& context);

} // namespace px
