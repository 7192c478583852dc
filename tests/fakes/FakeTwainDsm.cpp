// A TWAIN data source manager with one scripted source, as a shared library
// the program loads like a real manager. Its native images are packed
// bitmaps from malloc(), as the protocol on this platform has them: image i
// is (width + i) x height, every pixel of the colour (i + 1) * 40 in each of
// blue, green and red (24 bits), or, at 8 bits, alternating indices 0 and 1
// of the table red, blue.
#include "FakeTwainDsm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace px::twain;

namespace {
FakeTwainScript script;
std::string calls;
TW_IDENTITY origin{};
const void* parent = nullptr;
TW_USERINTERFACE userInterface{};
int events = 0;
bool eventSent = false;
int transfer = 0;
int pending = 0;

void put32(unsigned char* p, unsigned v)
{
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
    p[2] = (v >> 16) & 0xFF;
    p[3] = (v >> 24) & 0xFF;
}

void* makeImage(int index)
{
    const int w = script.width + index;
    const int h = script.height;
    const int bpp = script.bitsPerPixel;
    const int colours = bpp == 8 ? 2 : 0;
    const int stride = (w * bpp + 31) / 32 * 4;
    const int size = 40 + colours * 4 + stride * h;
    auto* dib = static_cast<unsigned char*>(std::calloc(1, size_t(size)));
    put32(dib, 40);
    put32(dib + 4, unsigned(w));
    put32(dib + 8, unsigned(h));
    dib[12] = 1;
    dib[14] = static_cast<unsigned char>(bpp);
    put32(dib + 20, unsigned(stride * h));
    put32(dib + 32, unsigned(colours));
    unsigned char* bits = dib + 40 + colours * 4;
    if (bpp == 8) {
        const unsigned char table[8] = {0, 0, 255, 0, 255, 0, 0, 0}; // red, blue (B, G, R, 0)
        std::memcpy(dib + 40, table, 8);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bits[y * stride + x] = static_cast<unsigned char>(x % 2);
    } else {
        for (int y = 0; y < h; ++y)
            std::memset(bits + y * stride, (index + 1) * 40, size_t(w) * 3);
    }
    return dib;
}
} // namespace

extern "C" {

__attribute__((visibility("default"))) void FakeTwain_Reset(const FakeTwainScript* s)
{
    script = *s;
    calls.clear();
    origin = TW_IDENTITY{};
    parent = nullptr;
    userInterface = TW_USERINTERFACE{};
    events = 0;
    eventSent = false;
    transfer = 0;
    pending = 0;
}

__attribute__((visibility("default"))) const char* FakeTwain_Log()
{
    return calls.c_str();
}

__attribute__((visibility("default"))) const TW_IDENTITY* FakeTwain_Origin()
{
    return &origin;
}

__attribute__((visibility("default"))) const void* FakeTwain_Parent()
{
    return parent;
}

__attribute__((visibility("default"))) const TW_USERINTERFACE* FakeTwain_UserInterface()
{
    return &userInterface;
}

__attribute__((visibility("default"))) TW_UINT16 DSM_Entry(TW_IDENTITY* from, TW_IDENTITY* to, TW_UINT32 dg,
                                                           TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    char line[40];
    std::snprintf(line, sizeof line, "%c%x/%x/%x\n", to ? 'D' : 'M', unsigned(dg), unsigned(dat), unsigned(msg));
    calls += line;
    if (from)
        origin = *from;

    if (dg == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM) {
        parent = *static_cast<void**>(data);
        return script.failOpenDsm ? TWRC_FAILURE : TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_OPENDS) {
        if (script.failOpenDs)
            return TWRC_FAILURE;
        auto* id = static_cast<TW_IDENTITY*>(data);
        id->Id = 7;
        std::strcpy(id->ProductName, "Fake source");
        return TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_USERSELECT)
        return script.cancelSelect ? TWRC_CANCEL : TWRC_SUCCESS;
    if (dg == DG_CONTROL && dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS) {
        userInterface = *static_cast<TW_USERINTERFACE*>(data);
        return script.failEnableDs ? TWRC_FAILURE : TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT) {
        auto* event = static_cast<TW_EVENT*>(data);
        if (events++ < script.idleEvents) {
            event->TWMessage = MSG_NULL;
            return TWRC_NOTDSEVENT;
        }
        // The source's own event once, then a request to close.
        event->TWMessage = eventSent || script.closeRequest ? MSG_CLOSEDSREQ : MSG_XFERREADY;
        if (!eventSent)
            pending = script.images;
        eventSent = true;
        return TWRC_DSEVENT;
    }
    if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
        const int index = transfer++;
        if (index == script.failTransfer)
            return TWRC_FAILURE;
        if (index == script.cancelTransfer)
            return TWRC_CANCEL;
        *static_cast<TW_HANDLE*>(data) = makeImage(index);
        return TWRC_XFERDONE;
    }
    if (dg == DG_CONTROL && dat == DAT_PENDINGXFERS && msg == MSG_ENDXFER) {
        pending = pending > 0 ? pending - 1 : 0;
        static_cast<TW_PENDINGXFERS*>(data)->Count = TW_UINT16(pending);
        return TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_PENDINGXFERS && msg == MSG_RESET) {
        pending = 0;
        static_cast<TW_PENDINGXFERS*>(data)->Count = 0;
        return TWRC_SUCCESS;
    }
    return TWRC_SUCCESS;
}
}
