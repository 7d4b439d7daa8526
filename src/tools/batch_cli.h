#pragma once
// movra-batch as a library call: parses the command line, imports each plate
// or table, applies its layout, fits every well (or every sample's mean) on
// several threads, draws one picture per sample when asked (--plots) and
// writes the chosen reports as TSV: one table (with a File column for
// several files) or one file per input and report in a folder. Tests run it
// in-process.
// Exit status: 0 every file was read and every table written (some wells may
// be unfitted), 1 bad input (the desktop program's message on err; with
// several files the others' tables are still written) or a table or picture
// that could not be written, 2 bad usage (an option value that does not
// convert or cannot mean anything, or an output naming an input).

#include <ostream>
#include <string>
#include <vector>

namespace movra {

inline constexpr int kBatchExitOk = 0;
inline constexpr int kBatchExitBadInput = 1;
inline constexpr int kBatchExitBadUsage = 2;

// What the caller knows about where err goes.
struct BatchConsole {
    bool ErrIsTerminal = false;  // draw the progress bar (unless --quiet)
};

// args: the arguments after the program name.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchConsole& console = {});

} // namespace movra
