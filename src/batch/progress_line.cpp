#include "batch/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace movra {

std::string FormatProgressLine(int done, int total, double elapsedSeconds, const std::string& unit)
{
    constexpr int kBarWidth = 20;
    const int filled = total > 0 ? std::clamp(done * kBarWidth / total, 0, kBarWidth) : kBarWidth;
    std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] ";
    const std::string count = std::to_string(total);
    std::string doneText = std::to_string(done);
    if (doneText.size() < count.size()) doneText.insert(0, count.size() - doneText.size(), ' ');
    line += doneText + "/" + count + " " + unit;
    if (done > 0 && elapsedSeconds > 0.0) {
        const double rate = done / elapsedSeconds;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "  %.1f %s/s  %.0f s left", rate, unit.c_str(),
                      std::ceil(std::max(total - done, 0) / rate));
        line += buffer;
    }
    return line;
}

} // namespace movra
