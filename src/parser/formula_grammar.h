#pragma once
// The recognisers that decide what a sub-term of a prepared (upper-case,
// trimmed) formula is: a variable, a number, a bracketed term, or one of the
// operator and call forms, each accepting only the operand forms its rule
// lists on either side. The operand rules are the grammar: they fix
// precedence and associativity. Sub-terms are ranges of the one text, so
// answers are remembered per range and every question is worked out once.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "parser/builtin_functions.h"
#include "parser/operation_arithmetic.h"

namespace movra {

struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const noexcept { return end - begin; }
};

// What a split or call recogniser last wrote as the two parts of the node it
// classified; nullopt stands for the single blank both start as.
struct SplitTexts {
    std::optional<TextRange> left;
    std::optional<TextRange> right;
};

// The outcome of classifying one node of the working tree.
struct Classification {
    OpCode opCode = OpCode::PassThrough;
    double* slot = nullptr;       // variable
    double number = 0.0;          // number
    TextRange left;               // first operand text (stripped of enclosing brackets)
    TextRange right;              // second operand text, or the exponent
    UnaryFunction unary = nullptr;
    BinaryFunction binary = nullptr;
};

using VariableLookup = std::function<double*(std::string_view upperCaseName)>;

class FormulaGrammar {
public:
    FormulaGrammar(std::string_view preparedText, VariableLookup variables, const FunctionTable& functions,
                   bool pascalNumberFormat);

    std::string_view Text(TextRange range) const { return text_.substr(range.begin, range.size()); }

    bool Balanced(TextRange range) const noexcept;
    // W: well-formed; `stripped` receives the range without enclosing brackets.
    bool WellFormed(TextRange range, TextRange& stripped);
    // BR: "(" inner ")" with a well-formed inner; `inner` is stripped further.
    bool Bracketed(TextRange range, TextRange& inner);

    // Classifies a node in the fixed order V, N, NEG, ADD, SUB, MUL, DIV, MOD,
    // DVD, POW, F1, F2; false when nothing fits, with `writes` holding what
    // the recognisers last wrote for the error message.
    bool Classify(TextRange range, Classification& result, SplitTexts& writes);

private:
    enum Rule : unsigned {
        kNeg = 0, kAdd, kSub, kMul, kDiv, kMod, kDvd, kPow, kF1, kF2, kRuleCount,
        kWell = kRuleCount, kBracket,
    };

    double* Variable(TextRange range) const;
    bool Number(TextRange range, double& value) const;

    bool Recognise(Rule rule, TextRange range);  // remembered answer of one rule
    bool Apply(Rule rule, TextRange range, SplitTexts* writes, Classification* result);
    bool OperandPasses(TextRange& side, unsigned allowedRules);
    bool ExponentPasses(TextRange& side, OpCode& opCode);

    bool SplitAtCharacter(char symbol, Rule rule, TextRange range, SplitTexts* writes, Classification* result);
    bool SplitAtKeyword(std::string_view keyword, Rule rule, TextRange range, SplitTexts* writes,
                        Classification* result);
    bool Negation(TextRange range, SplitTexts* writes, Classification* result);
    bool UnaryCall(TextRange range, SplitTexts* writes, Classification* result);
    bool BinaryCall(TextRange range, SplitTexts* writes, Classification* result);

    bool MayApply(Rule rule, TextRange range) const noexcept;
    bool Contains(std::size_t marker, std::size_t first, std::size_t end) const noexcept;
    std::uint64_t Key(TextRange range, unsigned rule) const noexcept;
    void Step();

    std::string_view text_;
    VariableLookup variables_;
    const FunctionTable& functions_;
    bool pascalNumberFormat_;
    std::vector<int> bracketBalance_;  // "(" minus ")" before each position
    // Per marker (+ - * / ^ ( DIV MOD), how many start before each position:
    // most rules are ruled out by a missing operator without any search.
    std::vector<std::vector<int>> markerCounts_;
    std::unordered_map<std::uint64_t, std::optional<TextRange>> answers_;
    int depth_ = 0;
    long steps_ = 0;
};

} // namespace movra
