#pragma once
// The geometry of printing and of the print preview.
//
// The preview shows the printer page reduced: the page area is the page's
// printable size reduced, and the image is drawn 10 screen pixels from the
// area's top-left corner at its printed size reduced the same way. A screen
// 1024 pixels wide divides widths by 5, one 800 wide by 7; a screen 768
// pixels high divides heights by 5, one 600 high by 7. Any other screen
// fits the whole page into the preview's view (keeping its proportions),
// and that one reduction serves the page area and the image alike.
#include "graphics/Bitmap.h"
#include "graphics/CanvasTypes.h"

#include <cstdint>

namespace px {

// A reduction num / den on each axis.
struct PreviewReduction {
    std::int64_t numX = 1, denX = 1;
    std::int64_t numY = 1, denY = 1;

    int reduceX(std::int64_t v) const { return int(v * numX / denX); }
    int reduceY(std::int64_t v) const { return int(v * numY / denY); }
    bool operator==(const PreviewReduction&) const = default;
};

// The factors the image is enlarged by on the page, 1 to 20 each.
struct PrintFactors {
    int width = 1;  // WidthFactor, "Largeur de l'image :"
    int height = 1; // HeightFactor, "Hauteur de l'image :"
};

// The gap between the corner of the page (or of the page area) and the image.
inline constexpr int kPrintMargin = 10;
// The space kept beside a page fitted into the view (half on each side);
// 20 pixels more of height are kept, 10 above the page, 30 below it.
inline constexpr int kFitMargin = 20;

// A page whose fixed reduction would still be wider or taller than this
// (a large page at a high printer resolution) is fitted into the view
// instead, so the preview never needs an absurd bitmap.
inline constexpr int kMaxPageAreaSide = 8192;

// The reduction for a screen of `screen` pixels, a printable page of `page`
// printer pixels and a view (the grey scroll box) of `view` pixels.
PreviewReduction previewReduction(Size screen, Size page, Size view);

// The page area: the page reduced, at least 1 x 1.
Size previewPageArea(Size page, const PreviewReduction& reduction);

// The page area's position in the view: centred, with its top 10 pixels
// higher; never above or left of the view's origin, so a page larger than
// the view can be scrolled to whole.
Point previewPagePosition(Size view, Size pageArea);

// Where DrawPreview stretches the image in the page area.
Rect previewImageRect(Size image, PrintFactors factors, const PreviewReduction& reduction);

// Where the image is printed, in printer pixels from the printable area's
// top-left corner.
Rect printTargetRect(Size image, PrintFactors factors);

// DrawPreview: the page area cleared to white, then the image stretched into
// previewImageRect.
void drawPreview(Bitmap& pageArea, const Bitmap& image, PrintFactors factors, const PreviewReduction& reduction);

// PrintBitmap: a 24-bit copy of the document.
Bitmap makePrintBitmap(const Bitmap& document);

} // namespace px
