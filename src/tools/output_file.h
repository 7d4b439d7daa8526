#pragma once
// Writing a finished report where the user asked for it, without ever
// leaving a damaged file or reporting lost output as success. A regular file
// (new or old) is written to a temporary file beside it, which replaces it by
// one rename only when every byte was written, synced and closed; a full disk
// therefore leaves the previous file as it was. A device (a terminal,
// /dev/null, /dev/full) or a pipe is written in place. A symbolic link is
// followed: its target gets the new text.

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string_view>

namespace movra {

// A write that failed; the message names the file and the system's reason:
//   Cannot write file "out.tsv": No space left on device.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void WriteOutputFile(const std::filesystem::path& path, std::string_view bytes);

// Writes and flushes; throws OutputError ("Cannot write to standard output")
// when the stream fails, with the system's reason when it left one in errno.
void WriteOutputStream(std::ostream& out, std::string_view bytes);

} // namespace movra
