// movra-batch: fits every well of SpectraMax plate-format text files with
// the desktop program's engine and settings, unattended and in parallel, and
// writes a report table as TSV. See RunBatch for the exit statuses.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "batch_cli.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    movra::BatchConsole console;
    console.ErrIsTerminal = isatty(STDERR_FILENO) == 1;
    const int status = movra::RunBatch(args, std::cout, std::cerr, console);
    // What is still buffered can fail too (a full disk, a closed pipe), also
    // after the help text: output that never arrived is no success.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        if (status != movra::kBatchExitOk) return status;
        std::cerr << "Cannot write to standard output"
                  << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << ".\n";
        return movra::kBatchExitBadInput;
    }
    return status;
}
