#pragma once
// Writing a file the user named without ever losing the old one: the bytes go
// to a temporary file beside it, which replaces the old file by one rename
// only when everything was written. A failure (full disk, folder not
// writable, missing folder) leaves the old file as it was and throws
// FileSaveError with a message for the user.

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace movra {

class FileSaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace movra
