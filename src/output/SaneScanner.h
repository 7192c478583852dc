#pragma once
// Scanners through SANE, the scanner library of Linux desktops, loaded at
// run time (libsane.so.1): the program starts and runs on a system without
// it, as it does without a TWAIN source manager, and only scanning says
// that nothing is there.
#include "platform/Scanner.h"

namespace px {

class SaneScanner : public ScannerDevices {
public:
    SaneScanner() = default;
    ~SaneScanner() override;
    SaneScanner(const SaneScanner&) = delete;
    SaneScanner& operator=(const SaneScanner&) = delete;

    bool available() override;
    std::vector<ScannerDevice> devices() override;
    Bitmap scan(const std::string& deviceName) override;

    // The library's entry points.
    struct Api;

private:
    const Api* api();
    void* library_ = nullptr;
    Api* api_ = nullptr;
    bool tried_ = false;
};

} // namespace px
