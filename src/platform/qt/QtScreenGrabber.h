#pragma once
// The primary screen's picture through QScreen::grabWindow.
#include "platform/ScreenCapture.h"

namespace px {

class QtScreenGrabber : public ScreenGrabber {
public:
    Bitmap grabScreen() override;
};

} // namespace px
