#pragma once
// The function lists a TParser compiles against: the fifteen one-argument and
// two two-argument built-in functions, looked up by upper-case name. The
// lists are fixed at start and shared by every parser.

#include <string_view>

#include "parser/operation_arithmetic.h"

namespace movra {

class FunctionTable {
public:
    // The built-in lists (TAN, SIN, COS, SINH, COSH, ARCTAN, EXP, LN, SQRT,
    // ABS, HEAV, SIGN, ZERO, PH, RND; MAX, MIN).
    static const FunctionTable& BuiltIn();

    // nullptr when the name is not in the list.
    UnaryFunction FindUnary(std::string_view upperCaseName) const noexcept;
    BinaryFunction FindBinary(std::string_view upperCaseName) const noexcept;

private:
    FunctionTable() = default;
};

} // namespace movra
