#pragma once
// The undo and redo histories: two rings of whole-bitmap snapshots.
//
// Each ring holds at most `levels` snapshots; a push beyond that overwrites
// the oldest. Snapshots are 24-bit copies of the document and keep their own
// width and height, so undoing a resize brings the old size back. Slots keep
// their memory when they are recycled, and undo/redo move buffers between the
// document and the rings instead of copying them: a snapshot costs one
// row-wise copy of the image, an undo or redo none beyond converting an
// indexed document to 24 bits.
#include "graphics/Bitmap.h"

#include <vector>

namespace px {

class SnapshotHistory {
public:
    explicit SnapshotHistory(int levels = 5);

    int levels() const { return levels_; }
    int count() const { return int(order_.size()); }
    bool isEmpty() const { return order_.empty(); }
    // The ring has wrapped: the next push overwrites the oldest slot. Stays
    // set until a pop.
    bool isFull() const { return full_; }
    // Slot numbers holding snapshots, oldest first.
    const std::vector<int>& order() const { return order_; }
    // The newest snapshot (the one PopSnapshot would return); history must not be empty.
    const Bitmap& newest() const { return slots_[order_.back()]; }

    // Empties the ring; the slot table gets `levels` entries.
    void reset(int levels);
    // Changes the number of levels keeping every snapshot held. Raised: the
    // table grows at once. Lowered: the ring recycles its oldest slot until
    // pops bring the count under the new limit.
    void setLevels(int levels);

    // Stores a 24-bit copy of `source` as the newest snapshot.
    void PushSnapshot(const Bitmap& source);
    // Stores `source` itself (converted to 24 bits) as the newest snapshot;
    // `source` is left with a recycled buffer of unspecified content.
    void PushSnapshotMove(Bitmap& source);
    // Moves the newest snapshot into `out` and drops it; false (and `out`
    // untouched) when the ring is empty.
    bool PopSnapshot(Bitmap& out);

private:
    Bitmap& claimSlot();
    int levels_;
    bool full_ = false;
    std::vector<Bitmap> slots_;
    std::vector<int> order_;
};

// Both histories of the application, shared by every image window and
// emptied whenever an image window is created.
class EditHistory {
public:
    explicit EditHistory(int levels = 5) : undo_(levels), redo_(levels) {}

    SnapshotHistory& undoHistory() { return undo_; }
    SnapshotHistory& redoHistory() { return redo_; }
    const SnapshotHistory& undoHistory() const { return undo_; }
    const SnapshotHistory& redoHistory() const { return redo_; }

    int levels() const { return undo_.levels(); }
    void setLevels(int levels);

    // Empties both histories (creation of an image window).
    void ResetHistories();
    // Snapshot of the document before an edit; the redo history is untouched.
    void SaveUndoState(const Bitmap& document);
    // Undo: the document goes onto the redo history and the newest undo
    // snapshot becomes the document. With an empty undo history nothing
    // happens and false is returned. Redo is the mirror image.
    bool Undo(Bitmap& document);
    bool Redo(Bitmap& document);

private:
    static bool transfer(SnapshotHistory& from, SnapshotHistory& to, Bitmap& document);
    SnapshotHistory undo_;
    SnapshotHistory redo_;
};

} // namespace px
