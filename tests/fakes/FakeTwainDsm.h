#pragma once
// The control side of the fake TWAIN data source manager (libfake_twaindsm):
// a test scripts how the manager and its one source answer, runs the
// program's acquisition through DSM_Entry, then reads the calls it got.
#include "platform/TwainProtocol.h"

extern "C" {

struct FakeTwainScript {
    int failOpenDsm = 0;     // MSG_OPENDSM fails
    int failOpenDs = 0;      // MSG_OPENDS fails
    int failEnableDs = 0;    // MSG_ENABLEDS fails
    int cancelSelect = 0;    // MSG_USERSELECT answers TWRC_CANCEL
    int idleEvents = 0;      // offered events the source does not claim before its own
    int closeRequest = 0;    // the source's event is MSG_CLOSEDSREQ (its dialog closed), not MSG_XFERREADY
    int images = 1;          // transfers in the batch
    int cancelTransfer = -1; // this transfer answers TWRC_CANCEL
    int failTransfer = -1;   // this transfer answers TWRC_FAILURE
    int bitsPerPixel = 24;   // 24, or 8 with a two-colour table (red, blue)
    int width = 3;           // image i is (width + i) x height
    int height = 2;
};

// Forgets the calls and takes the script.
void FakeTwain_Reset(const FakeTwainScript* script);
// The calls so far, one per line: 'M' (no destination) or 'D' (the source
// as destination), then data group / data type / message in hexadecimal:
// "M1/4/301" is DG_CONTROL, DAT_PARENT, MSG_OPENDSM.
const char* FakeTwain_Log();
// The origin identity of the last call.
const px::twain::TW_IDENTITY* FakeTwain_Origin();
// The window handed over with MSG_OPENDSM and the user interface of MSG_ENABLEDS.
const void* FakeTwain_Parent();
const px::twain::TW_USERINTERFACE* FakeTwain_UserInterface();
}
