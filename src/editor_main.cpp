// The editor's executable, started by the pixoran3 command (src/main.cpp)
// with the arguments the batch command line left to it.
#include "app/Editor.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv)
{
    // A save cut short by a kill or a closed terminal leaves no temporary
    // file behind.
    px::installInterruptCleanup();
    return px::runEditor(argc, argv);
}
