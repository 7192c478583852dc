#include "output/PrintLayout.h"

#include "graphics/Canvas.h"

#include <algorithm>

namespace px {

namespace {
// The fixed divisor of a screen side the preview was laid out for, or 0.
int classicDivisor(int side, int large, int small)
{
    if (side == large)
        return 5;
    if (side == small)
        return 7;
    return 0;
}
} // namespace

PreviewReduction previewReduction(Size screen, Size page, Size view)
{
    const int dx = classicDivisor(screen.width, 1024, 800);
    const int dy = classicDivisor(screen.height, 768, 600);
    if (dx && dy && page.width / dx <= kMaxPageAreaSide && page.height / dy <= kMaxPageAreaSide)
        return {1, dx, 1, dy};
    // Fit the page into the view less its margins, on the tighter axis. The
    // centring lifts the page by 10 pixels: 20 more pixels of height keep
    // 10 above it.
    const std::int64_t w = std::max(1, view.width - kFitMargin);
    const std::int64_t h = std::max(1, view.height - kFitMargin - 2 * kPrintMargin);
    const std::int64_t pw = std::max(1, page.width);
    const std::int64_t ph = std::max(1, page.height);
    if (w * ph <= h * pw)
        return {w, pw, w, pw};
    return {h, ph, h, ph};
}

Size previewPageArea(Size page, const PreviewReduction& r)
{
    return {std::max(1, r.reduceX(page.width)), std::max(1, r.reduceY(page.height))};
}

Point previewPagePosition(Size view, Size area)
{
    const int top = (view.height - area.height) / 2 - kPrintMargin;
    const int left = (view.width - area.width) / 2;
    return {std::max(0, left), std::max(0, top)};
}

Rect previewImageRect(Size image, PrintFactors f, const PreviewReduction& r)
{
    return {kPrintMargin, kPrintMargin, kPrintMargin + r.reduceX(std::int64_t(image.width) * f.width),
            kPrintMargin + r.reduceY(std::int64_t(image.height) * f.height)};
}

Rect printTargetRect(Size image, PrintFactors f)
{
    return {kPrintMargin, kPrintMargin, kPrintMargin + image.width * f.width, kPrintMargin + image.height * f.height};
}

void drawPreview(Bitmap& pageArea, const Bitmap& image, PrintFactors factors, const PreviewReduction& reduction)
{
    pageArea.fill(kWhite);
    if (image.isEmpty())
        return;
    Canvas canvas(pageArea);
    const Rect target = previewImageRect({image.width(), image.height()}, factors, reduction);
    if (!target.isEmpty())
        canvas.stretchCopy(target, image, {0, 0, image.width(), image.height()});
}

Bitmap makePrintBitmap(const Bitmap& document)
{
    Bitmap copy = document;
    copy.setPixelFormat(24);
    return copy;
}

} // namespace px
