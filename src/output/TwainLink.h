#pragma once
// The program's connection to a TWAIN data source manager: selecting the
// default source and acquiring native images from it. Each call starts with
// nothing loaded (state 1), walks the manager and the source up through the
// protocol's states and back down to state 1; only the table of transferred
// images outlives it.
//
// States: 1 nothing loaded, 2 manager loaded, 3 manager open, 4 source open,
// 5 source enabled, 6 transfer ready, 7 transferring.
#include "platform/TwainProtocol.h"

#include <array>
#include <cstdint>
#include <string>

namespace px {

// What the link needs of the program around it.
class TwainHost {
public:
    virtual ~TwainHost() = default;
    // Whether `window` is a window of the program.
    virtual bool isWindow(std::uintptr_t window) = 0;
    // A hidden window titled "Acquire Proxy" for the manager to attach its
    // dialogs to; 0 when it cannot be made.
    virtual std::uintptr_t createProxyWindow() = 0;
    virtual void destroyProxyWindow(std::uintptr_t window) = 0;
    // The program's windows refuse input while the source's dialog runs.
    virtual void setWindowEnabled(std::uintptr_t window, bool enabled) = 0;
    // One turn of the program's event loop: waits a little for events and
    // handles them. False once the program is quitting.
    virtual bool processEvents() = 0;
    // A protocol failure, shown in the "TWAIN Error" box.
    virtual void reportError(const std::string& text) = 0;
};

class TwainLink {
public:
    static constexpr int kMaxImages = 999;

    TwainLink(twain::DsmLibrary& library, TwainHost& host);
    ~TwainLink();
    TwainLink(const TwainLink&) = delete;
    TwainLink& operator=(const TwainLink&) = delete;

    // TWAIN_SelectImageSource: the manager's source selection dialog. 0 for
    // `window` makes a proxy window. Non-zero when the user chose a source.
    int selectImageSource(std::uintptr_t window);

    // AcquireNativeImages: one whole acquisition from the default source,
    // which shows its own dialog. The transferred images are left in the
    // table. `pixelTypeMask` 0 lets the source deliver its own pixel type
    // (no other mask is negotiated). Errors are reported through the host.
    void acquireNativeImages(std::uintptr_t window, unsigned pixelTypeMask);

    int imageCount() const { return count_; }
    // The native image in slot i; the table keeps owning it.
    twain::TW_HANDLE imageHandle(int i) const;
    // Frees every image left in the table.
    void releaseImages();

    int state() const { return state_; }
    twain::TW_UINT16 lastReturnCode() const { return lastReturnCode_; }
    const twain::TW_IDENTITY& appIdentity() const { return appIdentity_; }

    // Texts of the "TWAIN Error" box.
    static constexpr const char* kErrorCaption = "TWAIN Error";
    static constexpr const char* kLoadFailed = "Unable to load Source Manager (TWAIN_32.DLL)";
    static constexpr const char* kOpenFailed = "Unable to open Source Manager (TWAIN_32.DLL)";
    static constexpr const char* kLastError = "TWAIN_ReportLastError: an error occurred";

private:
    bool useWindow(std::uintptr_t window, const char* prefix);
    bool loadManager();
    bool openManager();
    void teardown();
    void messageLoop();
    void transferImages();
    void storeImage(twain::TW_HANDLE handle);
    // Mgr and Ds: DSM_Entry without and with the source as destination;
    // true on TWRC_SUCCESS. Both keep the return code.
    bool mgr(twain::TW_UINT32 dg, twain::TW_UINT16 dat, twain::TW_UINT16 msg, twain::TW_MEMREF data);
    bool ds(twain::TW_UINT32 dg, twain::TW_UINT16 dat, twain::TW_UINT16 msg, twain::TW_MEMREF data);

    twain::DsmLibrary& library_;
    TwainHost& host_;
    int state_ = 1;
    twain::DsmEntryProc entry_ = nullptr;
    twain::TW_IDENTITY appIdentity_{};
    twain::TW_IDENTITY sourceIdentity_{};
    twain::TW_HANDLE parentWindow_ = nullptr;
    std::uintptr_t proxy_ = 0;
    twain::TW_USERINTERFACE userInterface_{};
    twain::TW_UINT16 lastReturnCode_ = twain::TWRC_SUCCESS;
    std::array<twain::TW_HANDLE, kMaxImages> images_{};
    int count_ = 0;
    bool batchStored_ = false;
};

} // namespace px
