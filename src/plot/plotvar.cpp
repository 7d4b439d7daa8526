#include "plot/plotvar.h"
#include "shared/one_based.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace movra {

void DefaultCurveParams(TCurvParamVector& params, int n)
{
    if (n < 0) {
        params.clear();
        return;
    }
    params.assign(static_cast<std::size_t>(n) + 1, TCurvParam{});
    for (int i = 1; i <= n; ++i) {
        TCurvParam& p = At(params, i);
        p.Symbol = (i - 1) % 9 + 1;
        p.SymbolSize = 1;
        p.FillColor = At(CurvePalette, (i - 1) % 10);
        p.PenColor = p.FillColor;
        p.Legend = "Y" + std::to_string(i);
    }
}

void AutoStep(TAxis& axis, int lowest, int highest)
{
    const double range = axis.Max - axis.Min;
    // Besides Min < Max, the range must be a usable finite number; a step that
    // underflows to zero would never settle.
    if (!(axis.Min < axis.Max) || !std::isfinite(range)) {
        return;
    }
    int power = static_cast<int>(std::trunc(std::log10(range)));
    if (range < 1.0) {
        --power;
    }
    double step = std::pow(10.0, power);
    if (!(step > 0.0) || !std::isfinite(step)) {
        return;
    }
    for (int round = 0; round < 4000; ++round) {
        const double intervals = std::trunc(range / step);
        if (intervals < lowest) {
            step *= 0.5;
        } else if (intervals > highest) {
            step *= 2.0;
        } else {
            break;
        }
    }
    axis.Step = step;
}

namespace {

std::string PadLeft(std::string text, int width)
{
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

std::string ToChars(double value, std::chars_format style, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, style, std::max(precision, 0));
    return {buffer, result.ptr};
}

} // namespace

std::string FormatAxisNumber(double value, const TLabelFormat& format)
{
    if (format.LabelExponent) {
        std::string text = ToChars(value, std::chars_format::scientific, format.LabelDecimals);
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c == 'e' ? 'E' : c; });
        return PadLeft(std::move(text), format.LabelWidth - 1) + " ";
    }
    std::string text = ToChars(value, std::chars_format::fixed, format.LabelDecimals);
    if (!format.LabelKeepZeros && text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return PadLeft(std::move(text), format.LabelWidth);
}

} // namespace movra
