#pragma once
// The twelve formulas of the fit formula list, shared by the parser tests.

#include <array>
#include <string_view>

namespace movra::test {

inline constexpr std::array<std::string_view, 12> kFitFormulas = {
    "m1+(m2+m3*x)/(1+exp((m4-x)/m5))",
    "(m1+m2*x)+(m3+m4*x)/(1+exp((m5-x)/m6))",
    "m1+m5*x+m2*(1-exp(-m3*x))^m4",
    "m1+m5*x+(m2+m6*x)*(1-exp(-m3*x))^m4",
    "m1-m2*exp(-m3*x)",
    "m1-m2*exp(-m3*x)+m4*x",
    "m1-m2*exp(-m3*x)-m4*exp(-m5*x)",
    "m1-m2*exp(-m3*(x-m6))-m4*exp(-m5*(x-m6))",
    "m1+m2*x^m3/(m4^m3+x^m3)",
    "(m1+m2*x+(m3+m4*x)*exp(-m6*(1/x-1/m5)))/(1+exp(-m6*(1/x-1/m5)))",
    "m1*(cosh(m2*x)-1)+m3",
    "m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))",
};

} // namespace movra::test
