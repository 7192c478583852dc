#include "output/TwainLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace px {

namespace {
const char* namedLibrary()
{
    const char* path = std::getenv("PIXORAN3_TWAIN_DSM");
    return path && *path ? path : nullptr;
}
} // namespace

std::vector<std::string> TwainLibrary::usualNames()
{
    return {"libtwaindsm.so.2", "libtwaindsm.so"};
}

TwainLibrary::~TwainLibrary()
{
    unload();
}

// A named manager counts as present even when the file is missing: the user
// asked for that one, and acquiring then says it cannot be loaded.
bool TwainLibrary::exists()
{
    if (namedLibrary())
        return true;
    for (const std::string& name : usualNames()) {
        if (void* h = dlopen(name.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
            dlclose(h);
            return true;
        }
    }
    return false;
}

twain::DsmEntryProc TwainLibrary::load()
{
    unload();
    if (const char* path = namedLibrary()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    } else {
        for (const std::string& name : usualNames())
            if ((handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)))
                break;
    }
    if (!handle_)
        return nullptr;
    auto entry = reinterpret_cast<twain::DsmEntryProc>(dlsym(handle_, "DSM_Entry"));
    if (!entry)
        unload();
    return entry;
}

void TwainLibrary::unload()
{
    if (handle_) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

} // namespace px
