// The pixoran3 executable: the batch command line when asked for, the editor otherwise.
#include "app/CommandLine.h"
#include "app/Editor.h"

int main(int argc, char** argv)
{
    if (auto code = px::runCommandLine(argc, argv))
        return *code;
    return px::runEditor(argc, argv);
}
