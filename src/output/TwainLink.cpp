#include "output/TwainLink.h"

#include <cstdlib>
#include <cstring>

namespace px {

using namespace twain;

namespace {
void copyText(TW_STR32& target, const char* text)
{
    std::memset(target, 0, sizeof target);
    std::strncpy(target, text, sizeof target - 1);
}
} // namespace

TwainLink::TwainLink(DsmLibrary& library, TwainHost& host) : library_(library), host_(host)
{
    appIdentity_.Id = 0;
    appIdentity_.Version.MajorNum = 1;
    appIdentity_.Version.MinorNum = 0;
    appIdentity_.Version.Language = TWLG_USA;
    appIdentity_.Version.Country = TWCY_USA;
    copyText(appIdentity_.Version.Info, "<?>");
    appIdentity_.ProtocolMajor = 1;
    appIdentity_.ProtocolMinor = 6;
    appIdentity_.SupportedGroups = DG_CONTROL_AND_IMAGE;
    copyText(appIdentity_.Manufacturer, "<?>");
    copyText(appIdentity_.ProductFamily, "<?>");
    copyText(appIdentity_.ProductName, "<?>");
}

TwainLink::~TwainLink()
{
    releaseImages();
}

TW_HANDLE TwainLink::imageHandle(int i) const
{
    return i >= 0 && i < count_ ? images_[std::size_t(i)] : nullptr;
}

void TwainLink::releaseImages()
{
    for (int i = 0; i < count_; ++i) {
        std::free(images_[std::size_t(i)]);
        images_[std::size_t(i)] = nullptr;
    }
    count_ = 0;
}

bool TwainLink::mgr(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    lastReturnCode_ = entry_(&appIdentity_, nullptr, dg, dat, msg, data);
    return lastReturnCode_ == TWRC_SUCCESS;
}

bool TwainLink::ds(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    lastReturnCode_ = entry_(&appIdentity_, &sourceIdentity_, dg, dat, msg, data);
    return lastReturnCode_ == TWRC_SUCCESS;
}

// The manager attaches its dialogs to the caller's window, or to a hidden
// proxy window when the caller passes 0.
bool TwainLink::useWindow(std::uintptr_t window, const char* prefix)
{
    proxy_ = 0;
    if (window == 0) {
        proxy_ = host_.createProxyWindow();
        if (proxy_ == 0) {
            host_.reportError(std::string(prefix) + "Unable to create proxy window");
            return false;
        }
        window = proxy_;
    } else if (!host_.isWindow(window)) {
        host_.reportError(std::string(prefix) + "window handle is invalid");
        return false;
    }
    parentWindow_ = reinterpret_cast<TW_HANDLE>(window);
    return true;
}

bool TwainLink::loadManager()
{
    entry_ = library_.load();
    if (!entry_) {
        host_.reportError(kLoadFailed);
        return false;
    }
    state_ = 2;
    return true;
}

bool TwainLink::openManager()
{
    if (!mgr(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parentWindow_)) {
        host_.reportError(kOpenFailed);
        return false;
    }
    state_ = 3;
    return true;
}

// Back down from whatever state was reached to state 1, then the proxy
// window goes.
void TwainLink::teardown()
{
    if (state_ >= 5) {
        ds(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &userInterface_);
        state_ = 4;
    }
    if (state_ == 4) {
        mgr(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &sourceIdentity_);
        state_ = 3;
    }
    if (state_ == 3) {
        mgr(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parentWindow_);
        state_ = 2;
    }
    if (state_ == 2) {
        library_.unload();
        entry_ = nullptr;
        state_ = 1;
    }
    if (proxy_ != 0) {
        host_.destroyProxyWindow(proxy_);
        proxy_ = 0;
    }
}

int TwainLink::selectImageSource(std::uintptr_t window)
{
    if (!useWindow(window, "TWAIN_SelectImageSource: "))
        return 0;
    int chosen = 0;
    if (loadManager() && openManager()) {
        TW_IDENTITY identity{};
        chosen = mgr(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &identity) ? 1 : 0;
    }
    teardown();
    return chosen;
}

void TwainLink::acquireNativeImages(std::uintptr_t window, unsigned pixelTypeMask)
{
    // No pixel type is negotiated: with any mask the source delivers its own.
    (void)pixelTypeMask;
    releaseImages();
    if (!useWindow(window, ""))
        return;
    if (!loadManager() || !openManager()) {
        teardown();
        return;
    }

    sourceIdentity_ = TW_IDENTITY{};
    if (!mgr(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &sourceIdentity_)) {
        host_.reportError(kLastError);
        teardown();
        return;
    }
    state_ = 4;

    userInterface_ = TW_USERINTERFACE{};
    userInterface_.ShowUI = 1;
    userInterface_.hParent = parentWindow_;
    if (!ds(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &userInterface_)) {
        host_.reportError(kLastError);
        teardown();
        return;
    }
    state_ = 5;

    const auto parent = reinterpret_cast<std::uintptr_t>(parentWindow_);
    host_.setWindowEnabled(parent, false);
    messageLoop();
    host_.setWindowEnabled(parent, true);
    teardown();
}

// Each turn offers an event to the source first; what the source does not
// claim goes to the program. The loop ends when the source asks to close
// (its dialog was closed), once a batch of transfers has stored an image,
// or when the program quits.
void TwainLink::messageLoop()
{
    batchStored_ = false;
    while (state_ >= 5) {
        TW_EVENT event{nullptr, MSG_NULL};
        ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        const bool claimed = lastReturnCode_ == TWRC_DSEVENT;
        if (event.TWMessage == MSG_XFERREADY) {
            state_ = 6;
            transferImages();
        } else if (event.TWMessage == MSG_CLOSEDSREQ) {
            ds(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &userInterface_);
            state_ = 4;
        }
        if (batchStored_)
            break;
        if (!claimed && !host_.processEvents())
            break;
    }
}

// One native transfer after another while the source has images pending.
// A transfer that fails resets the pending transfers (back to state 5):
// asking again would fail again and never end.
void TwainLink::transferImages()
{
    while (state_ == 6) {
        TW_HANDLE handle = nullptr;
        ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
        if (lastReturnCode_ == TWRC_XFERDONE) {
            storeImage(handle);
            state_ = 7;
        } else if (lastReturnCode_ == TWRC_CANCEL) {
            state_ = 7;
        } else {
            TW_PENDINGXFERS pending{};
            ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
            state_ = 5;
            return;
        }
        TW_PENDINGXFERS pending{};
        ds(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        state_ = pending.Count == 0 ? 5 : 6;
    }
}

// The table holds kMaxImages images; a null handle or one past the end is
// not kept (the latter is freed).
void TwainLink::storeImage(TW_HANDLE handle)
{
    if (!handle)
        return;
    if (count_ >= kMaxImages) {
        std::free(handle);
        return;
    }
    images_[std::size_t(count_++)] = handle;
    batchStored_ = true;
}

} // namespace px
