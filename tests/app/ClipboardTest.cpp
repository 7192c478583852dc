// Both clipboards keep the same contract: what is put on them comes back as
// 24 bits, pixel for pixel; clearing empties them. The Qt one also trades
// images with the rest of the desktop (within one process offscreen).
#include "platform/MemoryClipboard.h"
#include "platform/qt/QtClipboard.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace px::test {
namespace {

template <typename T> class ClipboardContract : public ::testing::Test {
protected:
    void SetUp() override { clipboard.clear(); }
    void TearDown() override { clipboard.clear(); }
    T clipboard;
};

using Clipboards = ::testing::Types<MemoryClipboard, QtClipboard>;
TYPED_TEST_SUITE(ClipboardContract, Clipboards);

// Width 3 gives rows with padding; every pixel differs in each channel.
TYPED_TEST(ClipboardContract, TrueColourBitmapComesBackUnchanged)
{
    Bitmap b(3, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            b.setPixel(x, y, makeColour(10 + x, 100 + y, 200 + x + y));
    EXPECT_FALSE(this->clipboard.hasImage());
    EXPECT_TRUE(this->clipboard.image().isEmpty());
    this->clipboard.setImage(b);
    ASSERT_TRUE(this->clipboard.hasImage());
    EXPECT_EQ(this->clipboard.image(), b);
    this->clipboard.clear();
    EXPECT_FALSE(this->clipboard.hasImage());
    EXPECT_TRUE(this->clipboard.image().isEmpty());
}

TYPED_TEST(ClipboardContract, IndexedBitmapComesBackAsTrueColour)
{
    const Bitmap mono = [] {
        Bitmap b(9, 1, 1);
        b.setPixelIndex(0, 0, 1);
        b.setPixelIndex(8, 0, 1);
        return b;
    }();
    this->clipboard.setImage(mono);
    const Bitmap back = this->clipboard.image();
    ASSERT_EQ(back.bitsPerPixel(), 24);
    EXPECT_EQ(toAscii(back), ".#######.\n");
    this->clipboard.setImage(Bitmap());
    EXPECT_FALSE(this->clipboard.hasImage()) << "an empty bitmap empties the clipboard";
}

TEST(QtClipboard, TradesImagesWithOtherPrograms)
{
    QtClipboard clipboard;
    QImage theirs(2, 1, QImage::Format_ARGB32);
    theirs.setPixel(0, 0, qRgba(1, 2, 3, 255));
    theirs.setPixel(1, 0, qRgba(250, 128, 0, 255));
    QGuiApplication::clipboard()->setImage(theirs);
    const Bitmap b = clipboard.image();
    ASSERT_EQ(b.width(), 2);
    EXPECT_EQ(b.pixel(0, 0), makeColour(1, 2, 3));
    EXPECT_EQ(b.pixel(1, 0), makeColour(250, 128, 0));

    Bitmap ours(1, 1, 24);
    ours.setPixel(0, 0, makeColour(9, 8, 7));
    clipboard.setImage(ours);
    ours.setPixel(0, 0, kWhite); // the clipboard holds its own copy
    EXPECT_EQ(QGuiApplication::clipboard()->image().pixel(0, 0), qRgb(9, 8, 7));
    clipboard.clear();
}

} // namespace
} // namespace px::test
