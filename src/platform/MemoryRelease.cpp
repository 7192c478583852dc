#include "platform/MemoryRelease.h"

#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace px {

void returnFreedMemory()
{
    malloc_trim(0);
}

std::size_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return resident * std::size_t(::sysconf(_SC_PAGESIZE));
}

} // namespace px
