#pragma once
// The one-line progress display of a long fit on a terminal: a bar, the
// curves done out of all, the rate and the estimated time left. Pure
// formatting; the caller decides where and how often it is drawn.

#include <string>

namespace movra {

// For example "[##########----------]  192/384 wells  85.3 wells/s  2 s left".
// The rate and time left are omitted until something is done.
std::string FormatProgressLine(int done, int total, double elapsedSeconds, const std::string& unit = "wells");

} // namespace movra
