#pragma once
// The TWAIN data source manager's shared library, loaded at run time: the
// file named by $PIXORAN3_TWAIN_DSM when it is set, else the manager's
// usual library names on Linux, found by the system's library search.
#include "platform/TwainProtocol.h"

#include <string>
#include <vector>

namespace px {

class TwainLibrary : public twain::DsmLibrary {
public:
    // The names tried when $PIXORAN3_TWAIN_DSM is not set.
    static std::vector<std::string> usualNames();

    ~TwainLibrary() override;
    // $PIXORAN3_TWAIN_DSM set (even to a missing file), or one of the usual
    // names loadable.
    bool exists() override;
    twain::DsmEntryProc load() override;
    void unload() override;

private:
    void* handle_ = nullptr;
};

} // namespace px
