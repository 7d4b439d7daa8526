#pragma once
// Turns the bytes of an exported text file into UTF-8 text, as the
// instrument software writes them: a byte order mark selects UTF-8, UTF-16LE
// or UTF-16BE; without one the file is Windows-1252 (older SoftMax Pro
// versions, whose degree sign is the byte 0xA1), unless it is valid UTF-8
// with multi-byte characters (files re-saved by other tools). Plain ASCII
// passes unchanged.

#include <filesystem>
#include <string>

#include "plate/text_lines.h"

namespace movra {

enum class TextEncoding { Utf8Bom, Utf16LE, Utf16BE, Windows1252 };

TextEncoding DetectTextEncoding(std::string_view bytes) noexcept;

// The text as UTF-8, without the byte order mark.
std::string DecodeText(std::string bytes);

// Reads, decodes and splits a file into lines; throws FileReadError (see
// ReadFileBytes for the size limit).
TextLines LoadTextLines(const std::filesystem::path& path, std::uintmax_t maxBytes = kMaxTextFileBytes);

} // namespace movra
