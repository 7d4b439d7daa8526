#pragma once
// Texts the user supplied, quoted inside a message: at most about 60
// characters of them (a megabyte-long label is not echoed whole) and every
// control character written as an escape, so that a NUL cannot end the
// message early and a CR or LF cannot break its line.

#include <cstddef>
#include <string>
#include <string_view>

namespace movra {

inline constexpr std::size_t kLongestQuotedText = 60;

// The text escaped (NUL as \0, TAB as \t, CR as \r, LF as \n, other control
// bytes as \xNN) and cut after kLongestQuotedText bytes with "..." appended;
// a cut never splits a UTF-8 character.
std::string MessageExcerpt(std::string_view text);

// The excerpt in single quotes: 'abc', 'abcdef...'.
std::string QuotedForMessage(std::string_view text);

} // namespace movra
