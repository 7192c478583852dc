#pragma once
// The zoom of the image view: which view pixel shows which image pixel, and
// the view's pixels themselves. Zoom changes the display only; the image and
// every tool stay in image pixels.
//
// A zoom is a fraction num/den. Above 1 each image pixel is shown as a block
// of view pixels (nearest neighbour); below 1 (halvings only: 1/2 to 1/16)
// each view pixel is the average of the block of image pixels it covers,
// read from a pyramid of halved copies kept up to date as the image changes.
// View pixels come out as 0xFFRRGGBB words.
#include "graphics/Bitmap.h"
#include "graphics/CanvasTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace px {

struct ZoomFactor {
    int num = 1;
    int den = 1;
    bool operator==(const ZoomFactor&) const = default;
    double value() const { return double(num) / den; }
};

// The zoom steps of the view, from 1/16 to 16, in increasing order: halvings
// below 1, then 1, 2, 3, 4, 6, 8, 12, 16.
std::span<const ZoomFactor> zoomSteps();
// The step `delta` steps away from `zoom` (clamped to the ends); a zoom
// between two steps moves to the nearer step in that direction first.
ZoomFactor stepZoom(ZoomFactor zoom, int delta);

// The image pixel that contains view coordinate v (floored, also for
// negative positions outside the image).
int viewToImage(double v, ZoomFactor zoom);
// The first view pixel of image pixel i.
int imageToView(int i, ZoomFactor zoom);
// The view pixels that show any part of the image rectangle.
Rect imageRectToView(const Rect& r, ZoomFactor zoom);
// The image pixels that any view pixel of the rectangle shows.
Rect viewRectToImage(const Rect& r, ZoomFactor zoom);
// The view's size for an image of that size (at least one pixel a side for
// an image that has pixels).
int zoomedLength(int imageLength, ZoomFactor zoom);

// Halved copies of a bitmap for zooms below 1: level k holds the image
// reduced 2^k times, each pixel the average of the (up to) 2^k x 2^k image
// pixels it covers. Levels are built when first asked for and afterwards
// rebuilt only where the image changed.
class ZoomPyramid {
public:
    // The bitmap changed inside `imageRect` (the whole of it when empty, or
    // when its size or depth changed: then everything is rebuilt).
    void invalidate(const Rect& imageRect = {});
    // Level k (1..4) of `bitmap`, brought up to date; rows of width
    // levelWidth(k) words.
    const std::uint32_t* level(const Bitmap& bitmap, int k);
    int levelWidth(int k) const { return levels_[k].width; }
    int levelHeight(int k) const { return levels_[k].height; }
    // Frees every level (the view is back at 1:1 or above).
    void clear();

private:
    struct Level {
        std::vector<std::uint32_t> pixels;
        int width = 0;
        int height = 0;
        Rect dirty; // image pixels of the level below that changed since it was built
        bool built = false;
    };
    void rebuild(const Bitmap& bitmap, int k, const Rect& area);

    static constexpr int kLevels = 5;
    Level levels_[kLevels];
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceDepth_ = 0;
};

// The view pixels of `area` (view coordinates) of `bitmap` at `zoom`, into
// rows of `out` (`stride` words apart). View pixels beyond the image are
// left as they are. `pyramid` serves the zooms below 1.
void renderZoomedView(const Bitmap& bitmap, ZoomFactor zoom, const Rect& area, std::uint32_t* out, std::size_t stride,
                      ZoomPyramid& pyramid);

// One image row as 0xFFRRGGBB words: pixels [x0, x1) of row y, whatever the
// depth (indexed formats through their palette).
void fetchRowRgb32(const Bitmap& bitmap, int y, int x0, int x1, std::uint32_t* out);

} // namespace px
