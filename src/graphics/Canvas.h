#pragma once
// The one drawing API over a document bitmap. A canvas keeps the state of a
// drawing context between calls (pen, brush, copy mode, current position,
// font) and draws with exact, documented pixel rules:
//
// - Figures take their corners in any order; the right and bottom edges are
//   exclusive: rectangle(10, 10, 50, 30) covers columns 10..49, rows 10..29.
// - A line leaves out its last pixel; a zero-length line at width 1 draws
//   nothing. Wider pens draw solid thick lines with round ends and joins,
//   centred on the one-pixel outline (an even width reaches one pixel further
//   up and left than down and right).
// - The outline uses the pen and the interior the brush, both combined with
//   the pixels by the pen's mix mode; a hollow brush leaves the interior alone.
// - With a solid brush the background is opaque: the gaps of a styled pen and
//   the cell of a text are painted in the brush colour. With a hollow brush
//   they are left alone.
// - Everything is clipped to the bitmap; work is proportional to the visible
//   part of a figure (styled curves excepted, whose pattern phase depends on
//   the whole outline). Figure coordinates are limited to +-2^30.
//
// The canvas refers to a bitmap it does not own. Drawing needs 24 bits per
// pixel: a drawing call converts an indexed bitmap to 24 bits first (the
// commands convert anyway; converting here keeps a stray indexed bitmap from
// being written as if it had 3 bytes per pixel). Reading pixels never
// converts.
//
// Every drawing call returns the rectangle it changed, clipped to the bitmap,
// and keeps it for lastChangedRect(), so views repaint only that; the pixels
// it changed are also kept as a few rectangles, lastDamage(), which for an
// outline are much smaller than its bounding rectangle.
#include "graphics/Bitmap.h"
#include "graphics/CanvasTypes.h"
#include "graphics/Colour.h"
#include "graphics/Damage.h"
#include "graphics/Font.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace px {

class GlyphRasteriser;
struct CanvasSpan;
class CanvasRegion;

class Canvas {
public:
    // `glyphs` may be null: text then draws nothing and measures 0 x 0.
    explicit Canvas(Bitmap& target, const GlyphRasteriser* glyphs = nullptr);

    Bitmap& bitmap() { return *bmp_; }
    const Bitmap& bitmap() const { return *bmp_; }
    void setGlyphRasteriser(const GlyphRasteriser* glyphs) { glyphs_ = glyphs; }
    const GlyphRasteriser* glyphRasteriser() const { return glyphs_; }

    // --- State (persists between calls) ---
    void setPenColour(Colour c) { penColour_ = c & 0xFFFFFF; }
    Colour penColour() const { return penColour_; }
    // Widths below 1 count as 1.
    void setPenWidth(int w) { penWidth_ = w < 1 ? 1 : w; }
    int penWidth() const { return penWidth_; }
    void setPenStyle(PenStyle s) { penStyle_ = s; }
    PenStyle penStyle() const { return penStyle_; }
    void setPenMode(MixMode m) { penMode_ = m; }
    MixMode penMode() const { return penMode_; }
    void setBrushColour(Colour c) { brushColour_ = c & 0xFFFFFF; }
    Colour brushColour() const { return brushColour_; }
    void setBrushHollow(bool hollow) { brushHollow_ = hollow; }
    bool brushHollow() const { return brushHollow_; }
    void setCopyMode(CopyMode m) { copyMode_ = m; }
    CopyMode copyMode() const { return copyMode_; }
    void setFont(const FontSpec& f) { font_ = f; }
    const FontSpec& font() const { return font_; }
    Point penPosition() const { return pos_; }

    Rect lastChangedRect() const { return changed_; }
    // The pixels the last drawing call changed, within lastChangedRect().
    const Damage& lastDamage() const { return damage_; }

    // --- Pixels and lines ---
    // Colour of a pixel; black outside the bitmap.
    Colour pixel(int x, int y) const { return bmp_->pixel(x, y); }
    // Sets one pixel to `c` whatever the mix mode; ignored outside.
    Rect setPixel(int x, int y, Colour c);
    // Moves the current position and restarts the pen's style pattern.
    void moveTo(int x, int y);
    // Draws from the current position to (x, y), which becomes the current
    // position. Consecutive lines continue the style pattern.
    Rect lineTo(int x, int y);

    // --- Figures (corners in any order, pen outline, brush interior) ---
    Rect rectangle(int x1, int y1, int x2, int y2);
    Rect ellipse(int x1, int y1, int x2, int y2);
    // Corners are quarters of an ellipse of cornerWidth x cornerHeight pixels
    // (signs ignored, limited to the rectangle's size).
    Rect roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    // The slice of the ellipse in the box from the ray through (sx, sy) to the
    // ray through (ex, ey), counter-clockwise on the screen, both rays taken
    // from the centre of the box. Equal directions give the whole ellipse.
    Rect pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);

    // --- Fills and raster operations on the canvas itself ---
    // Fills with the brush (copy, no pen). An axis given backwards covers the
    // pixels after its end up to its start: (0, 5, 4, 4) fills row 5.
    Rect fillRect(int left, int top, int right, int bottom);
    // Fills runs of row y in turn, each as fillRect(x0, y, x1, y + 1) with
    // the brush in its colour would (nothing with a hollow brush); the brush
    // colour stays as it is. A run with x1 <= x0 covers nothing. For figures
    // painted row by row, many runs to a row: one call per row.
    Rect fillRowRuns(int y, const ColourRun* runs, std::size_t count);
    // Fills the 4-connected area around (x, y) with the brush: in Border mode
    // every pixel that is not `colour`, in Surface mode every pixel that is
    // `colour`. Nothing when the start pixel does not qualify, when it lies
    // outside, or when the brush is hollow.
    Rect floodFill(int x, int y, Colour colour, FloodFillMode mode);
    // Copies the rectangle of the canvas onto itself with the copy mode
    // (SrcCopy changes nothing). Axes given backwards as for fillRect.
    Rect copyOntoItself(int left, int top, int right, int bottom);
    // The dotted focus frame: the pixels of the rectangle's one-pixel outline
    // whose x + y is even are inverted, so drawing it twice restores them.
    Rect drawFocusRect(int x1, int y1, int x2, int y2);

    // --- Copies from bitmaps ---
    // Stretching copy of `srcRect` of `src` (any depth) onto `dstRect`,
    // nearest pixel. A rectangle whose left is greater than its right covers
    // the columns right+1 .. left (rows likewise) and is walked from its left
    // edge: when exactly one of the two rectangles runs backwards on an axis
    // the copy is mirrored on that axis. Destination pixels whose source
    // pixel lies outside `src` keep their value. The copy mode applies:
    // modes other than SrcCopy ignore the source.
    Rect stretchCopy(Rect dstRect, const Bitmap& src, Rect srcRect);
    // The whole of `src` at its own size with its top-left corner at (x, y),
    // with the copy mode as stretchCopy().
    Rect draw(int x, int y, const Bitmap& src);
    // The same, leaving out the pixels of `src` that are `transparent`
    // (always a plain copy of the other pixels, whatever the copy mode).
    Rect drawTransparent(int x, int y, const Bitmap& src, Colour transparent);

    // --- Text ---
    // Writes one line in the current font and its colour with the top-left
    // corner of the text cell at (x, y). With a solid brush the cell is first
    // filled with the brush colour. Glyph pixels are all or nothing.
    Rect textOut(int x, int y, std::string_view utf8);
    Size textExtent(std::string_view utf8) const;

private:
    // How a pixel is changed: set to `value`, or XORed with it.
    struct Ink {
        bool set;
        std::uint32_t value;
    };
    Ink penInk() const { return inkFor(penColour_); }
    Ink brushInk() const { return inkFor(brushColour_); }
    Ink inkFor(Colour c) const;
    bool backgroundOpaque() const { return !brushHollow_; }

    void begin();
    Rect finish();
    void ensure24();
    Rect bounds() const { return {0, 0, bmp_->width(), bmp_->height()}; }

    // Painting primitives; all clip to the bitmap and grow changed_.
    void paintPixel(int x, int y, Ink ink);
    void paintSpan(int y, std::int64_t x0, std::int64_t x1, Ink ink);
    void paintSpans(int y, const std::vector<CanvasSpan>& spans, Ink ink);
    // Rows y0..y1-1 of column x.
    void paintColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, Ink ink);

    void thinLine(Point a, Point b);
    void wideLine(Point a, Point b);
    // Draws a figure given as a region (rows of pixel runs) with the pen and
    // brush; `outline` is the path the centre of a wide pen follows.
    void drawFigure(const CanvasRegion& region, const std::vector<double>& outline, bool closed);
    void drawThinFigure(const CanvasRegion& region);
    void drawWideFigure(const CanvasRegion& region, const std::vector<double>& outline, bool closed);
    void drawStyledOutline(const CanvasRegion& region);
    void drawRectangleStyled(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b);
    bool styleOn(std::int64_t index) const;
    void fillBlock(Rect r, Ink ink);
    // Records changed pixels.
    void mark(const Rect& r)
    {
        changed_ = changed_.united(r);
        damage_.add(r);
    }

    Bitmap* bmp_;
    const GlyphRasteriser* glyphs_;

    Colour penColour_ = kBlack;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    MixMode penMode_ = MixMode::Copy;
    Colour brushColour_ = kWhite;
    bool brushHollow_ = false;
    CopyMode copyMode_ = CopyMode::SrcCopy;
    FontSpec font_;
    Point pos_;
    std::int64_t stylePhase_ = 0;

    Rect changed_;
    Damage damage_;
    // Scratch memory reused between calls (flood fill marks).
    std::vector<std::uint64_t> marks_;
};

} // namespace px
