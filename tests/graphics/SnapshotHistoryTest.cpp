#include "graphics/SnapshotHistory.h"

#include <gtest/gtest.h>
#include <set>

namespace px {
namespace {

// A 2 x 1 image whose first pixel's red value tells the states apart.
Bitmap state(int n, int width = 2)
{
    Bitmap b(width, 1, 24);
    b.setPixel(0, 0, makeColour(n, 0, 0));
    return b;
}
int stateOf(const Bitmap& b) { return redOf(b.pixel(0, 0)); }

TEST(SnapshotHistory, SlotOrderFollowsTheRingThroughWrapAround)
{
    SnapshotHistory h(3);
    EXPECT_TRUE(h.isEmpty());
    for (int i = 1; i <= 3; ++i)
        h.PushSnapshot(state(i));
    EXPECT_EQ(h.order(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(h.isFull());
    h.PushSnapshot(state(4)); // overwrites slot 0, the oldest
    EXPECT_EQ(h.order(), (std::vector<int>{1, 2, 0}));
    EXPECT_TRUE(h.isFull());
    EXPECT_EQ(h.count(), 3);
    h.PushSnapshot(state(5));
    EXPECT_EQ(h.order(), (std::vector<int>{2, 0, 1}));

    Bitmap out;
    ASSERT_TRUE(h.PopSnapshot(out));
    EXPECT_EQ(stateOf(out), 5);
    EXPECT_FALSE(h.isFull());
    EXPECT_EQ(h.order(), (std::vector<int>{2, 0}));
    h.PushSnapshot(state(6)); // reuses the slot after the newest
    EXPECT_EQ(h.order(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(stateOf(h.newest()), 6);
}

TEST(EditHistory, SixEditsWithFiveLevelsKeepTheFiveNewestStates)
{
    EditHistory history(5);
    Bitmap doc = state(0);
    for (int edit = 1; edit <= 6; ++edit) {
        history.SaveUndoState(doc);
        doc = state(edit);
    }
    // States before edits 2..6 are held; the state before the first is lost.
    for (int expected = 5; expected >= 1; --expected) {
        ASSERT_TRUE(history.Undo(doc));
        EXPECT_EQ(stateOf(doc), expected);
    }
    EXPECT_TRUE(history.undoHistory().isEmpty());
    // Undo with an empty history leaves the document as it is.
    EXPECT_FALSE(history.Undo(doc));
    EXPECT_EQ(stateOf(doc), 1);
    EXPECT_EQ(history.redoHistory().count(), 5);
}

TEST(EditHistory, RedoAfterANewEditReturnsToTheStateBeforeTheUndoAndResetEmptiesBoth)
{
    EditHistory history;
    Bitmap doc = state(1);
    history.SaveUndoState(doc);
    doc = state(2);
    ASSERT_TRUE(history.Undo(doc));
    EXPECT_EQ(stateOf(doc), 1);
    history.SaveUndoState(doc); // a new edit does not clear the redo history
    doc = state(3);
    ASSERT_TRUE(history.Redo(doc));
    EXPECT_EQ(stateOf(doc), 2);
    ASSERT_TRUE(history.Undo(doc)); // the newer edit can be undone again
    EXPECT_EQ(stateOf(doc), 3);
    EXPECT_EQ(history.redoHistory().count(), 1);
    history.ResetHistories();
    EXPECT_TRUE(history.undoHistory().isEmpty());
    EXPECT_TRUE(history.redoHistory().isEmpty());
    EXPECT_FALSE(history.Undo(doc));
    EXPECT_FALSE(history.Redo(doc));
}

TEST(EditHistory, SnapshotsKeepTheirOwnSizeAndBecomeTwentyFourBits)
{
    EditHistory history;
    Bitmap doc(4, 3, 8);
    doc.setPixelIndex(3, 2, 5); // a standard-palette colour
    const Colour original = doc.pixel(3, 2);
    history.SaveUndoState(doc);
    doc = Bitmap(10, 7, 24); // a resize
    ASSERT_TRUE(history.Undo(doc));
    EXPECT_EQ(doc.width(), 4);
    EXPECT_EQ(doc.height(), 3);
    EXPECT_EQ(doc.bitsPerPixel(), 24);
    EXPECT_EQ(doc.pixel(3, 2), original);
    ASSERT_TRUE(history.Redo(doc));
    EXPECT_EQ(doc.width(), 10);
    EXPECT_EQ(doc.height(), 7);
}

TEST(EditHistory, RaisingLevelsKeepsEverySnapshotAndUsesNewSlots)
{
    EditHistory history(2);
    Bitmap doc = state(0);
    for (int edit = 1; edit <= 3; ++edit) { // wraps: holds states 1 and 2
        history.SaveUndoState(doc);
        doc = state(edit);
    }
    ASSERT_TRUE(history.undoHistory().isFull());
    history.setLevels(4);
    EXPECT_FALSE(history.undoHistory().isFull());
    for (int edit = 4; edit <= 5; ++edit) {
        history.SaveUndoState(doc);
        doc = state(edit);
    }
    EXPECT_EQ(history.undoHistory().count(), 4);
    const auto& order = history.undoHistory().order();
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 4u); // distinct slots
    for (int expected = 4; expected >= 1; --expected) {
        ASSERT_TRUE(history.Undo(doc));
        EXPECT_EQ(stateOf(doc), expected);
    }
    EXPECT_FALSE(history.Undo(doc));
}

TEST(EditHistory, LoweringLevelsRecyclesTheOldestUntilUndosCatchUp)
{
    EditHistory history(5);
    Bitmap doc = state(0);
    for (int edit = 1; edit <= 4; ++edit) {
        history.SaveUndoState(doc);
        doc = state(edit);
    }
    history.setLevels(2);
    history.SaveUndoState(doc); // count stays 4: state 0 is dropped
    doc = state(5);
    EXPECT_EQ(history.undoHistory().count(), 4);
    for (int expected = 4; expected >= 1; --expected) {
        ASSERT_TRUE(history.Undo(doc));
        EXPECT_EQ(stateOf(doc), expected);
    }
    EXPECT_FALSE(history.Undo(doc));
}

} // namespace
} // namespace px
