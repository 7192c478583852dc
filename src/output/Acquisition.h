#pragma once
// Scanning commands without their windows: which way a scan goes, and what
// an acquisition leaves for the program to show.
//
// Scans go through the TWAIN source manager when one is installed (or named
// by $PIXORAN3_TWAIN_DSM), through SANE when only SANE is there, and through
// TWAIN again when neither is, which then says that no manager can be loaded.
#include "graphics/Bitmap.h"
#include "output/TwainLink.h"
#include "platform/Scanner.h"

#include <string>
#include <vector>

namespace px {

enum class ScanRoute { Twain, Sane };

ScanRoute scanRoute(twain::DsmLibrary& manager, ScannerDevices& scanners);

// After AcquireNativeImages: the first image, and the second when exactly
// two came (three or more give the first only), each at its own size in 24
// bits. Every handle of the table is freed. An image whose header the
// program cannot read is left out and counted in *unreadable.
std::vector<Bitmap> imagesForWindows(TwainLink& link, int* unreadable = nullptr);

// The SANE device to scan from: the chosen one while it is still listed,
// else the first device; empty when there is none.
std::string scanDevice(const std::vector<ScannerDevice>& devices, const std::string& chosen);

// Messages of the SANE route.
inline constexpr const char* kNoScanner = "Aucun scanner n'a été trouvé.";
inline constexpr const char* kScanFailedPrefix = "L'acquisition a échoué : ";

} // namespace px
