#pragma once
// Scanner devices reached without a TWAIN source manager: the devices the
// system's scanner library finds, and one frame scanned from one of them.
// The implementation loads SANE at run time (output/SaneScanner).
#include "graphics/Bitmap.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace px {

class ScanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The scan was cancelled at the device: nothing to report.
class ScanCancelled : public ScanError {
public:
    ScanCancelled() : ScanError("cancelled") {}
};

struct ScannerDevice {
    std::string name;        // what the library opens the device by
    std::string description; // vendor, model and type, for the user
};

class ScannerDevices {
public:
    virtual ~ScannerDevices() = default;
    // True when the scanner library can be loaded and started.
    virtual bool available() = 0;
    // The devices found now, in the library's order.
    virtual std::vector<ScannerDevice> devices() = 0;
    // Scans one frame from the device with its current settings into a
    // 24-bit bitmap. Throws ScanError with the library's reason.
    virtual Bitmap scan(const std::string& deviceName) = 0;
};

} // namespace px
