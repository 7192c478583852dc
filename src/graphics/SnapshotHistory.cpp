#include "graphics/SnapshotHistory.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {

// dst := 24-bit copy of src, reusing dst's memory where it is large enough.
void copyAs24(Bitmap& dst, const Bitmap& src)
{
    if (src.bitsPerPixel() == 24) {
        dst = src; // PixelBuffer assignment recycles dst's buffer
        return;
    }
    dst = src;
    dst.setPixelFormat(24);
}

} // namespace

SnapshotHistory::SnapshotHistory(int levels) { reset(levels); }

void SnapshotHistory::reset(int levels)
{
    levels_ = std::max(1, levels);
    full_ = false;
    order_.clear();
    slots_.resize(std::size_t(levels_));
}

void SnapshotHistory::setLevels(int levels)
{
    levels_ = std::max(1, levels);
    if (slots_.size() < std::size_t(levels_))
        slots_.resize(std::size_t(levels_));
    full_ = full_ && count() >= levels_;
}

Bitmap& SnapshotHistory::claimSlot()
{
    if (count() >= levels_) {
        // Wrapped: the oldest slot becomes the newest.
        full_ = true;
        std::rotate(order_.begin(), order_.begin() + 1, order_.end());
        return slots_[order_.back()];
    }
    // The slot after the newest one, skipping slots still in use (only
    // possible after a change of levels; otherwise it is simply the next).
    const int table = int(slots_.size());
    int next = order_.empty() ? 0 : (order_.back() + 1) % levels_;
    while (std::find(order_.begin(), order_.end(), next) != order_.end())
        next = (next + 1) % table;
    order_.push_back(next);
    return slots_[next];
}

void SnapshotHistory::PushSnapshot(const Bitmap& source)
{
    copyAs24(claimSlot(), source);
}

void SnapshotHistory::PushSnapshotMove(Bitmap& source)
{
    Bitmap& slot = claimSlot();
    slot.swap(source);
    slot.setPixelFormat(24);
}

bool SnapshotHistory::PopSnapshot(Bitmap& out)
{
    if (order_.empty())
        return false;
    out.swap(slots_[order_.back()]); // the freed slot keeps out's old buffer for reuse
    order_.pop_back();
    full_ = false;
    return true;
}

void EditHistory::setLevels(int levels)
{
    undo_.setLevels(levels);
    redo_.setLevels(levels);
}

void EditHistory::ResetHistories()
{
    undo_.reset(undo_.levels());
    redo_.reset(redo_.levels());
}

void EditHistory::SaveUndoState(const Bitmap& document) { undo_.PushSnapshot(document); }

bool EditHistory::transfer(SnapshotHistory& from, SnapshotHistory& to, Bitmap& document)
{
    if (from.isEmpty())
        return false;
    // The document moves onto the other history and receives that slot's
    // old buffer, which the popped slot then keeps for its next snapshot.
    to.PushSnapshotMove(document);
    from.PopSnapshot(document);
    return true;
}

bool EditHistory::Undo(Bitmap& document) { return transfer(undo_, redo_, document); }
bool EditHistory::Redo(Bitmap& document) { return transfer(redo_, undo_, document); }

} // namespace px
