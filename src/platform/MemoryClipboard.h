#pragma once
// A clipboard inside the process, for tests and for running without a
// display: it holds a 24-bit copy of the last image put on it.
#include "platform/Clipboard.h"

namespace px {

class MemoryClipboard : public Clipboard {
public:
    bool hasImage() const override { return !image_.isEmpty(); }
    Bitmap image() const override { return image_; }
    void setImage(const Bitmap& bitmap) override;
    void clear() override { image_ = Bitmap(); }

private:
    Bitmap image_;
};

} // namespace px
