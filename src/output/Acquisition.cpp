#include "output/Acquisition.h"

#include "output/PackedDib.h"

#include <exception>

namespace px {

ScanRoute scanRoute(twain::DsmLibrary& manager, ScannerDevices& scanners)
{
    if (manager.exists())
        return ScanRoute::Twain;
    return scanners.available() ? ScanRoute::Sane : ScanRoute::Twain;
}

std::vector<Bitmap> imagesForWindows(TwainLink& link, int* unreadable)
{
    std::vector<Bitmap> images;
    const int count = link.imageCount();
    const int shown = count == 2 ? 2 : count >= 1 ? 1 : 0;
    int bad = 0;
    for (int i = 0; i < shown; ++i) {
        try {
            images.push_back(decodePackedDib(link.imageHandle(i)));
        } catch (const std::exception&) {
            ++bad;
        }
    }
    link.releaseImages();
    if (unreadable)
        *unreadable = bad;
    return images;
}

std::string scanDevice(const std::vector<ScannerDevice>& devices, const std::string& chosen)
{
    for (const ScannerDevice& d : devices)
        if (d.name == chosen)
            return chosen;
    return devices.empty() ? std::string() : devices.front().name;
}

} // namespace px
