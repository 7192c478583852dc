#pragma once
// The desktop's clipboard through QClipboard, holding images. Other programs
// see a bitmap put here as an ordinary image; an image they put there comes
// back as a 24-bit bitmap (its alpha channel, if any, is dropped).
#include "platform/Clipboard.h"

namespace px {

class QtClipboard : public Clipboard {
public:
    bool hasImage() const override;
    Bitmap image() const override;
    void setImage(const Bitmap& bitmap) override;
    void clear() override;
};

} // namespace px
