// Fuzz target for the formula parser: any text assigned to Expression must
// either compile or raise an EMathParserError; what compiles is evaluated for
// a few abscissae, and the array evaluation must agree bit for bit (and fault
// for fault) with evaluating the points one by one.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "parser/parser.h"

namespace {

bool UsesRandomNumbers(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper.find("RND") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    movra::TParser parser;
    parser.SetVariable("m1", 4000);
    parser.SetVariable("m2", -3000);
    parser.SetVariable("m3", 0.7);
    parser.SetVariable("m4", 10);
    parser.SetVariable("m5", 1);
    parser.SetVariable("m6", 0.001);
    parser.SetVariable("m7", -1E-30);
    parser.SetVariable("m8", 0);
    parser.A() = 1.5;
    parser.B() = -2;
    try {
        parser.setExpression(text);
    } catch (const movra::EMathParserError&) {
        return 0;
    }
    constexpr std::array<double, 9> xs = {-2.5, -1.0, 0.0, 1E-300, 0.5, 1.0, 3.0, 1E10, 1E300};
    std::array<double, xs.size()> scalar{};
    std::array<movra::FaultKind, xs.size()> scalarFaults{};
    for (std::size_t i = 0; i < xs.size(); ++i) {
        parser.X() = xs[i];
        try {
            scalar[i] = parser.Value();
            scalarFaults[i] = movra::FaultKind::None;
        } catch (const movra::EEvaluationFault& fault) {
            scalarFaults[i] = fault.kind();
        }
    }
    std::array<double, xs.size()> batch{};
    std::array<movra::FaultKind, xs.size()> batchFaults{};
    parser.EvaluateMany(&parser.X(), xs, batch, batchFaults);
    if (UsesRandomNumbers(text)) return 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (batchFaults[i] != scalarFaults[i]) __builtin_trap();
        if (scalarFaults[i] == movra::FaultKind::None &&
            std::bit_cast<std::uint64_t>(batch[i]) != std::bit_cast<std::uint64_t>(scalar[i]))
            __builtin_trap();
    }
    return 0;
}
