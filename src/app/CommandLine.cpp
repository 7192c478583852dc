#include "app/CommandLine.h"

#include <cstdio>
#include <cstring>

namespace px {

std::optional<int> runCommandLine(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
        std::puts("Usage : pixoran3 [FICHIER]");
        return 0;
    }
    return std::nullopt;
}

} // namespace px
