#include "parser/builtin_functions.h"

#include "parser/random_source.h"

#include <array>
#include <cstdint>
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

thread_local RandomSource* currentRandomSource = nullptr;

} // namespace

ScopedRandomSource::ScopedRandomSource(RandomSource& source) noexcept : previous_(currentRandomSource)
{
    currentRandomSource = &source;
}

ScopedRandomSource::~ScopedRandomSource()
{
    currentRandomSource = previous_;
}

double parser_detail::NextUniformRandom() noexcept
{
    if (currentRandomSource != nullptr) return currentRandomSource->NextUniform();
    thread_local RandomSource threadSource;
    return threadSource.NextUniform();
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
