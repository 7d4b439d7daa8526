#pragma once
// The fit formula list offered by the formula box, the default texts of the
// fitting controls, and the parameter names a formula uses.

#include <array>
#include <string_view>
#include <vector>

namespace movra {

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
inline constexpr int kDefaultFitFormulaIndex = 11;
// Entries 0..10 have compiled code; the last entry goes through the parser.
inline constexpr int kBuiltInFitFormulas = 11;

// Start texts of Fit_m1 .. Fit_m8 (index 0 unused).
inline constexpr std::array<std::string_view, 9> kDefaultStartTexts = {
    "", "4000", "-3000", "1", "10", "1", "0.001", "0.001", "1"};
inline constexpr std::string_view kDefaultTolerance = "0.000001";
inline constexpr std::string_view kDefaultMaxIterations = "500";

// The parameter numbers (1..8, ascending) whose names m1..m8 occur in the
// formula text, compared without regard to case as the parser reads names.
std::vector<int> FitParameterNames(std::string_view formulaText);

// The list entry with compiled code that the formula box shows: its index
// when that is 0..10 and the text is exactly that entry's text, else -1.
int BuiltInFormulaIndex(int itemIndex, std::string_view formulaText);

} // namespace movra
