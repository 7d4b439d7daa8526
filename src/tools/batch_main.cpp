// movra-batch: fits every well of a SpectraMax plate-format text file with
// the desktop program's engine and settings, unattended and in parallel, and
// writes a report table as TSV. See RunBatch for the exit statuses.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "batch_cli.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    movra::BatchConsole console;
    console.ErrIsTerminal = isatty(STDERR_FILENO) == 1;
    return movra::RunBatch(args, std::cout, std::cerr, console);
}
