// The pixoran3 executable: the batch command line when asked for, the editor otherwise.
#include "app/CommandLine.h"
#include "app/Editor.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv)
{
    // A save cut short by Ctrl+C, a kill or a closed terminal leaves no
    // temporary file behind, in the batch forms and in the editor alike.
    px::installInterruptCleanup();
    if (auto code = px::runCommandLine(argc, argv))
        return *code;
    return px::runEditor(argc, argv);
}
