#pragma once
// The system clipboard as the program uses it: one image, no other formats.
// The GUI implementation is platform/qt/QtClipboard; tests use
// MemoryClipboard.
#include "graphics/Bitmap.h"

namespace px {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // True while the clipboard holds an image.
    virtual bool hasImage() const = 0;
    // The clipboard's image as a 24-bit bitmap; empty when it holds none or
    // one over the size limits of Bitmap.
    virtual Bitmap image() const = 0;
    // Replaces the clipboard's content by the bitmap (any depth; it is put
    // there as 24 bits). An empty bitmap empties the clipboard.
    virtual void setImage(const Bitmap& bitmap) = 0;
    // Empties the clipboard.
    virtual void clear() = 0;
};

} // namespace px
