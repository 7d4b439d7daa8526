#include "parser/builtin_functions.h"

#include <array>
#include <cstdint>
#include <random>
#include <utility>

namespace movra {
namespace {

constexpr std::array<std::pair<std::string_view, UnaryFunction>, 15> kUnaryFunctions{{
    {"TAN", &parser_detail::FnTan},
    {"SIN", &parser_detail::FnSin},
    {"COS", &parser_detail::FnCos},
    {"SINH", &parser_detail::FnSinh},
    {"COSH", &parser_detail::FnCosh},
    {"ARCTAN", &parser_detail::FnArcTan},
    {"EXP", &parser_detail::FnExp},
    {"LN", &parser_detail::FnLn},
    {"SQRT", &parser_detail::FnSqrt},
    {"ABS", &parser_detail::FnAbs},
    {"HEAV", &parser_detail::FnHeav},
    {"SIGN", &parser_detail::FnSign},
    {"ZERO", &parser_detail::FnZero},
    {"PH", &parser_detail::FnPh},
    {"RND", &parser_detail::FnRnd},
}};

constexpr std::array<std::pair<std::string_view, BinaryFunction>, 2> kBinaryFunctions{{
    {"MAX", &parser_detail::FnMax},
    {"MIN", &parser_detail::FnMin},
}};

// The run time's random generator behind RND: one per thread, fixed seed, so
// that a run is reproducible.
std::mt19937_64& RandomGenerator() noexcept
{
    thread_local std::mt19937_64 generator{0x4D4F565241ull};
    return generator;
}

} // namespace

double parser_detail::NextUniformRandom() noexcept
{
    return static_cast<double>(RandomGenerator()() >> 11) * 0x1p-53;
}

const FunctionTable& FunctionTable::BuiltIn()
{
    static const FunctionTable table;
    return table;
}

UnaryFunction FunctionTable::FindUnary(std::string_view upperCaseName) const noexcept
{
    for (const auto& [name, function] : kUnaryFunctions)
        if (name == upperCaseName) return function;
    return nullptr;
}

BinaryFunction FunctionTable::FindBinary(std::string_view upperCaseName) const noexcept
{
    for (const auto& [name, function] : kBinaryFunctions)
        if (name == upperCaseName) return function;
    return nullptr;
}

} // namespace movra
