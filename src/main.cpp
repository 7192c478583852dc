// The pixoran3 command: the batch command line runs here, in a process that
// loads no user-interface library; the editor is the program beside this one
// (pixoran3-editor), which takes over this process with the same arguments.
#include "batch/CommandLine.h"
#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// The editor's executable: beside this one.
std::string editorPath()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "pixoran3-editor";
    self[n] = '\0';
    std::string path(self);
    const auto slash = path.rfind('/');
    return path.substr(0, slash + 1) + "pixoran3-editor";
}

} // namespace

int main(int argc, char** argv)
{
    // A save cut short by Ctrl+C, a kill or a closed terminal leaves no
    // temporary file behind.
    px::installInterruptCleanup();
    if (auto code = px::runCommandLine(argc, argv))
        return *code;
    const std::string editor = editorPath();
    ::execv(editor.c_str(), argv);
    std::fprintf(stderr, "pixoran3: impossible de lancer %s (%s)\n", editor.c_str(), std::strerror(errno));
    return 1;
}
