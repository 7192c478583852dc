#pragma once
// The part of the TWAIN protocol (version 1.6) that the program speaks to a
// data source manager through its one entry point, DSM_Entry, and the
// loading of the manager's library.
//
// Structures have the protocol's 2-byte packing. On this platform a native
// image handle (TW_HANDLE) points to a packed device-independent bitmap
// (an info header, its colour table, then the rows, bottom row first)
// allocated by the data source with malloc(); the application that receives
// it owns it and releases it with free().
#include <cstdint>

namespace px::twain {

using TW_UINT16 = std::uint16_t;
using TW_INT16 = std::int16_t;
using TW_UINT32 = std::uint32_t;
using TW_INT32 = std::int32_t;
using TW_BOOL = std::uint16_t;
using TW_HANDLE = void*;
using TW_MEMREF = void*;
using TW_STR32 = char[34];

#pragma pack(push, 2)

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

// DAT_EVENT: the event offered to the source (there is no system message
// structure here: pEvent is null and each offer is one turn of the
// application's event loop) and the message the source answers with.
struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count; // 0xFFFF: the source does not know how many follow
    TW_UINT32 Reserved;
};

#pragma pack(pop)

// Data groups.
inline constexpr TW_UINT32 DG_CONTROL = 0x0001;
inline constexpr TW_UINT32 DG_IMAGE = 0x0002;

// Data argument types.
inline constexpr TW_UINT16 DAT_EVENT = 0x0002;
inline constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
inline constexpr TW_UINT16 DAT_PARENT = 0x0004;
inline constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
inline constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
inline constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages.
inline constexpr TW_UINT16 MSG_NULL = 0x0000;
inline constexpr TW_UINT16 MSG_GET = 0x0001;
inline constexpr TW_UINT16 MSG_RESET = 0x0007;
inline constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
inline constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
inline constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
inline constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
inline constexpr TW_UINT16 MSG_OPENDS = 0x0401;
inline constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
inline constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
inline constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
inline constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
inline constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
inline constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes.
inline constexpr TW_UINT16 TWRC_SUCCESS = 0;
inline constexpr TW_UINT16 TWRC_FAILURE = 1;
inline constexpr TW_UINT16 TWRC_CANCEL = 3;
inline constexpr TW_UINT16 TWRC_DSEVENT = 4;
inline constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
inline constexpr TW_UINT16 TWRC_XFERDONE = 6;

inline constexpr TW_UINT16 TWLG_USA = 13;
inline constexpr TW_UINT16 TWCY_USA = 1;
inline constexpr TW_UINT32 DG_CONTROL_AND_IMAGE = DG_CONTROL | DG_IMAGE;

// The manager's entry point, exported by its library as "DSM_Entry".
extern "C" {
using DsmEntryProc = TW_UINT16 (*)(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 dg, TW_UINT16 dat,
                                   TW_UINT16 msg, TW_MEMREF data);
}

// The data source manager's library.
class DsmLibrary {
public:
    virtual ~DsmLibrary() = default;
    // True when a manager library can be found at all (without loading it).
    virtual bool exists() = 0;
    // Loads the library and returns its DSM_Entry, or null when the library
    // is missing, cannot be loaded or has no such entry point.
    virtual DsmEntryProc load() = 0;
    // Unloads what load() loaded.
    virtual void unload() = 0;
};

} // namespace px::twain
