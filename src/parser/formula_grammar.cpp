#include "parser/formula_grammar.h"

#include <charconv>
#include <numbers>

#include "parser/parser_errors.h"
#include "shared/conversion.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

// Bounds on the recognisers' own work. A formula anyone types stays far below
// them; they keep absurd texts (thousands of nested brackets, huge chains)
// from exhausting the stack or the user's patience.
constexpr int kMaxRecognitionDepth = 1000;
constexpr long kMaxRecognitionSteps = 2'000'000;

constexpr unsigned Bit(unsigned rule) { return 1u << rule; }

constexpr std::size_t kPlusMarker = 0, kMinusMarker = 1, kTimesMarker = 2, kSlashMarker = 3, kCaretMarker = 4,
                      kOpenMarker = 5, kDivMarker = 6, kModMarker = 7, kMarkerCount = 8;
constexpr std::string_view kMarkers[kMarkerCount] = {"+", "-", "*", "/", "^", "(", "DIV", "MOD"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sign, digits with at most one ".", at least one digit, optional exponent
// (E, optional sign, digits); nothing else.
bool IsPascalNumber(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++digits; }
    }
    if (digits == 0) return false;
    if (i < s.size() && s[i] == 'E') {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++exponentDigits; }
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

// For a number out of the double range: true when it is too small (it then
// reads as zero), false when it is too large.
bool IsTooSmall(std::string_view s)
{
    long position = 0;         // decimal exponent of the first significant digit, roughly
    bool seenPoint = false;
    bool seenSignificant = false;
    long exponent = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.') { seenPoint = true; continue; }
        if (c == 'E') {
            bool negative = false;
            std::size_t j = i + 1;
            if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
            for (; j < s.size() && exponent < 100000; ++j) exponent = exponent * 10 + (s[j] - '0');
            if (negative) exponent = -exponent;
            break;
        }
        if (!IsDigit(c)) continue;
        if (!seenSignificant && c == '0') {
            if (seenPoint) --position;
            continue;
        }
        seenSignificant = true;
        if (!seenPoint) ++position;
    }
    return position + exponent <= 0;
}

bool ParsePascalNumber(std::string_view s, double& value)
{
    if (!IsPascalNumber(s)) return false;
    std::string_view digits = s;
    if (digits.front() == '+') digits.remove_prefix(1);
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (error == std::errc::result_out_of_range) {
        if (!IsTooSmall(digits)) return false;
        value = digits.front() == '-' ? -0.0 : 0.0;
        return true;
    }
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    value = parsed;
    return true;
}

OpCode OpCodeOf(unsigned rule)
{
    switch (rule) {
    case 1: return OpCode::Add;
    case 2: return OpCode::Subtract;
    case 3: return OpCode::Multiply;
    case 4: return OpCode::IntDivide;
    case 5: return OpCode::Modulo;
    case 6: return OpCode::Divide;
    default: return OpCode::Power;
    }
}

} // namespace

FormulaGrammar::FormulaGrammar(std::string_view preparedText, VariableLookup variables,
                               const FunctionTable& functions, bool pascalNumberFormat)
    : text_(preparedText), variables_(std::move(variables)), functions_(functions),
      pascalNumberFormat_(pascalNumberFormat), bracketBalance_(preparedText.size() + 1, 0)
{
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const int change = text_[i] == '(' ? 1 : (text_[i] == ')' ? -1 : 0);
        bracketBalance_[i + 1] = bracketBalance_[i] + change;
    }
    markerCounts_.assign(kMarkerCount, std::vector<int>(text_.size() + 1, 0));
    for (std::size_t i = 0; i < text_.size(); ++i) {
        for (std::size_t marker = 0; marker < kMarkerCount; ++marker) {
            const std::string_view symbol = kMarkers[marker];
            const bool starts = text_.compare(i, symbol.size(), symbol) == 0;
            markerCounts_[marker][i + 1] = markerCounts_[marker][i] + (starts ? 1 : 0);
        }
    }
    answers_.reserve(4 * text_.size() + 16);
}

bool FormulaGrammar::Contains(std::size_t marker, std::size_t first, std::size_t end) const noexcept
{
    if (end <= first) return false;
    return markerCounts_[marker][end] > markerCounts_[marker][first];
}

// Necessary conditions of each rule, checked in constant time: an operator
// strictly inside the range (not first, not last), a call's "(" after its name.
bool FormulaGrammar::MayApply(Rule rule, TextRange range) const noexcept
{
    if (range.size() < 2) return false;
    const std::size_t b = range.begin;
    const std::size_t e = range.end;
    switch (rule) {
    case kNeg: return text_[b] == '-';
    case kAdd: return Contains(kPlusMarker, b + 1, e - 1);
    case kSub: return Contains(kMinusMarker, b + 1, e - 1);
    case kMul: return Contains(kTimesMarker, b + 1, e - 1);
    case kDvd: return Contains(kSlashMarker, b + 1, e - 1);
    case kPow: return Contains(kCaretMarker, b + 1, e - 1);
    case kDiv: return e >= b + 5 && Contains(kDivMarker, b + 1, e - 3);
    case kMod: return e >= b + 5 && Contains(kModMarker, b + 1, e - 3);
    case kF1: return text_[b] != '(' && Contains(kOpenMarker, b + 1, e);
    case kF2: return text_[b] != '(' && text_[e - 1] == ')' && Contains(kOpenMarker, b + 1, e);
    default: return true;
    }
}

bool FormulaGrammar::Balanced(TextRange range) const noexcept
{
    return bracketBalance_[range.end] == bracketBalance_[range.begin];
}

double* FormulaGrammar::Variable(TextRange range) const
{
    if (range.size() == 0) return nullptr;
    return variables_(Text(range));
}

bool FormulaGrammar::Number(TextRange range, double& value) const
{
    const std::string_view s = Text(range);
    if (s.empty()) return false;
    if (s == "PI") { value = std::numbers::pi; return true; }
    if (s == "-PI") { value = -std::numbers::pi; return true; }
    if (pascalNumberFormat_) return ParsePascalNumber(s, value);
    return TryStrToFloat(s, UserLocale::decimalSeparator(), value);
}

std::uint64_t FormulaGrammar::Key(TextRange range, unsigned rule) const noexcept
{
    const std::uint64_t width = text_.size() + 1;
    return (static_cast<std::uint64_t>(range.begin) * width + range.end) * 16u + rule;
}

void FormulaGrammar::Step()
{
    if (++steps_ > kMaxRecognitionSteps) throw EExpressionTooComplex();
}

namespace {
// Counts how deep the recognisers have gone into each other.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth)
    {
        if (++depth_ > kMaxRecognitionDepth) throw ETooManyNestings();
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};
} // namespace

bool FormulaGrammar::WellFormed(TextRange range, TextRange& stripped)
{
    if (range.size() == 0) return false;
    const std::uint64_t key = Key(range, kWell);
    if (const auto known = answers_.find(key); known != answers_.end()) {
        if (known->second) stripped = *known->second;
        return known->second.has_value();
    }
    std::optional<TextRange> answer;
    {
        DepthGuard guard(depth_);
        Step();
        double number = 0.0;
        if (Number(range, number) || Variable(range) != nullptr || Recognise(kNeg, range) ||
            Recognise(kAdd, range) || Recognise(kSub, range) || Recognise(kMul, range) ||
            Recognise(kDiv, range) || Recognise(kMod, range) || Recognise(kDvd, range) ||
            Recognise(kPow, range) || Recognise(kF2, range) || Recognise(kF1, range)) {
            answer = range;
        } else if (TextRange inner; Bracketed(range, inner)) {
            answer = inner;
        }
    }
    answers_.emplace(key, answer);
    if (answer) stripped = *answer;
    return answer.has_value();
}

bool FormulaGrammar::Bracketed(TextRange range, TextRange& inner)
{
    if (range.size() < 2 || text_[range.begin] != '(' || text_[range.end - 1] != ')') return false;
    return WellFormed(TextRange{range.begin + 1, range.end - 1}, inner);
}

bool FormulaGrammar::Recognise(Rule rule, TextRange range)
{
    if (!MayApply(rule, range)) return false;
    const std::uint64_t key = Key(range, rule);
    if (const auto known = answers_.find(key); known != answers_.end()) return known->second.has_value();
    bool recognised = false;
    {
        DepthGuard guard(depth_);
        Step();
        recognised = Apply(rule, range, nullptr, nullptr);
    }
    answers_.emplace(key, recognised ? std::optional<TextRange>(range) : std::nullopt);
    return recognised;
}

bool FormulaGrammar::Apply(Rule rule, TextRange range, SplitTexts* writes, Classification* result)
{
    switch (rule) {
    case kNeg: return Negation(range, writes, result);
    case kAdd: return SplitAtCharacter('+', rule, range, writes, result);
    case kSub: return SplitAtCharacter('-', rule, range, writes, result);
    case kMul: return SplitAtCharacter('*', rule, range, writes, result);
    case kDiv: return SplitAtKeyword("DIV", rule, range, writes, result);
    case kMod: return SplitAtKeyword("MOD", rule, range, writes, result);
    case kDvd: return SplitAtCharacter('/', rule, range, writes, result);
    case kPow: return SplitAtCharacter('^', rule, range, writes, result);
    case kF1: return UnaryCall(range, writes, result);
    case kF2: return BinaryCall(range, writes, result);
    default: return false;
    }
}

namespace {
constexpr unsigned kCallRules = Bit(8) | Bit(9);                                   // F1, F2
constexpr unsigned kFactorRules = Bit(7) | kCallRules;                             // POW, F1, F2
constexpr unsigned kQuotientRules = Bit(4) | Bit(5) | Bit(6) | kFactorRules;       // DIV, MOD, DVD, POW, F1, F2
constexpr unsigned kAddLeft = Bit(0) | Bit(2) | Bit(3) | kQuotientRules;           // NEG, SUB, MUL, ...
constexpr unsigned kAddRight = Bit(1) | Bit(2) | Bit(3) | kQuotientRules;          // ADD, SUB, MUL, ...
constexpr unsigned kSubRight = Bit(3) | kQuotientRules;                            // MUL, DIV, ...
constexpr unsigned kMulLeft = Bit(0) | kQuotientRules;                             // NEG, DIV, ...
} // namespace

bool FormulaGrammar::OperandPasses(TextRange& side, unsigned allowedRules)
{
    if (!Balanced(side)) return false;
    double number = 0.0;
    if (Variable(side) != nullptr || Number(side, number)) return true;
    if (TextRange inner; Bracketed(side, inner)) {
        side = inner;
        return true;
    }
    for (unsigned rule = 0; rule < kRuleCount; ++rule)
        if ((allowedRules & Bit(rule)) != 0 && Recognise(static_cast<Rule>(rule), side)) return true;
    return false;
}

bool FormulaGrammar::ExponentPasses(TextRange& side, OpCode& opCode)
{
    if (!Balanced(side)) return false;
    opCode = OpCode::Power;
    if (Variable(side) != nullptr) return true;
    if (double number = 0.0; Number(side, number)) {
        if (std::trunc(number) == number) {
            if (number == 2.0) opCode = OpCode::Square;
            else if (number == 3.0) opCode = OpCode::Cube;
            else if (number == 4.0) opCode = OpCode::FourthPower;
            else opCode = OpCode::WholePower;
        }
        return true;
    }
    if (TextRange inner; Bracketed(side, inner)) {
        side = inner;
        return true;
    }
    return Recognise(kF1, side) || Recognise(kF2, side);
}

bool FormulaGrammar::SplitAtCharacter(char symbol, Rule rule, TextRange range, SplitTexts* writes,
                                      Classification* result)
{
    unsigned leftRules = kMulLeft;
    unsigned rightRules = kFactorRules;
    switch (rule) {
    case kAdd: leftRules = kAddLeft; rightRules = kAddRight; break;
    case kSub: leftRules = kAddLeft; rightRules = kSubRight; break;
    case kMul: leftRules = kMulLeft; rightRules = kSubRight; break;
    case kPow: leftRules = kCallRules; break;
    default: break;
    }
    const std::string_view upToEnd = text_.substr(0, range.end);
    for (std::size_t at = upToEnd.find(symbol, range.begin); at != std::string_view::npos;
         at = upToEnd.find(symbol, at + 1)) {
        Step();
        if (at == range.begin) continue;  // a leading sign: look for the next occurrence
        if (at == range.end - 1) return false;
        TextRange left{range.begin, at};
        TextRange right{at + 1, range.end};
        if (writes != nullptr) *writes = SplitTexts{left, right};
        const bool leftPasses = OperandPasses(left, leftRules);
        if (writes != nullptr) writes->left = left;
        if (!leftPasses) continue;
        OpCode opCode = OpCodeOf(rule);
        const bool rightPasses = rule == kPow ? ExponentPasses(right, opCode) : OperandPasses(right, rightRules);
        if (writes != nullptr) writes->right = right;
        if (!rightPasses) continue;
        if (result != nullptr) {
            result->opCode = opCode;
            result->left = left;
            result->right = right;
        }
        return true;
    }
    return false;
}

bool FormulaGrammar::SplitAtKeyword(std::string_view keyword, Rule rule, TextRange range, SplitTexts* writes,
                                    Classification* result)
{
    const std::string_view upToEnd = text_.substr(0, range.end);
    for (std::size_t at = upToEnd.find(keyword, range.begin); at != std::string_view::npos;
         at = upToEnd.find(keyword, at + 1)) {
        Step();
        if (at + keyword.size() >= range.end) return false;  // nothing after it
        if (at == range.begin) continue;
        TextRange left{range.begin, at};
        TextRange right{at + keyword.size(), range.end};
        if (writes != nullptr) *writes = SplitTexts{left, right};
        const bool leftPasses = OperandPasses(left, kMulLeft);
        if (writes != nullptr) writes->left = left;
        if (!leftPasses) continue;
        const bool rightPasses = OperandPasses(right, kFactorRules);
        if (writes != nullptr) writes->right = right;
        if (!rightPasses) continue;
        if (result != nullptr) {
            result->opCode = OpCodeOf(rule);
            result->left = left;
            result->right = right;
        }
        return true;
    }
    return false;
}

bool FormulaGrammar::Negation(TextRange range, SplitTexts* writes, Classification* result)
{
    if (range.size() == 0 || text_[range.begin] != '-') return false;
    TextRange operand{range.begin + 1, range.end};
    if (writes != nullptr) writes->left = operand;
    bool passes = false;
    if (TextRange inner; Bracketed(operand, inner)) {
        operand = inner;
        passes = true;
    } else {
        passes = Variable(operand) != nullptr || Recognise(kPow, operand) || Recognise(kF1, operand) ||
                 Recognise(kF2, operand);
    }
    if (writes != nullptr) writes->left = operand;
    if (passes && result != nullptr) {
        result->opCode = OpCode::Negate;
        result->left = operand;
    }
    return passes;
}

bool FormulaGrammar::UnaryCall(TextRange range, SplitTexts* writes, Classification* result)
{
    const std::size_t open = text_.substr(0, range.end).find('(', range.begin);
    if (open == std::string_view::npos || open == range.begin) return false;
    const UnaryFunction function = functions_.FindUnary(Text(TextRange{range.begin, open}));
    if (function == nullptr) return false;
    TextRange argument{open, range.end};
    if (writes != nullptr) writes->left = argument;
    TextRange inner;
    if (!Bracketed(argument, inner)) return false;
    if (writes != nullptr) writes->left = inner;
    if (result != nullptr) {
        result->opCode = OpCode::Function1;
        result->left = inner;
        result->unary = function;
    }
    return true;
}

bool FormulaGrammar::BinaryCall(TextRange range, SplitTexts* writes, Classification* result)
{
    if (range.size() == 0 || text_[range.end - 1] != ')') return false;
    const std::size_t open = text_.substr(0, range.end).find('(', range.begin);
    if (open == std::string_view::npos || open == range.begin) return false;
    const BinaryFunction function = functions_.FindBinary(Text(TextRange{range.begin, open}));
    if (function == nullptr) return false;
    const std::size_t innerBegin = open + 1;
    const std::size_t innerEnd = range.end - 1;
    if (innerEnd < innerBegin + 3) return false;
    // Commas at the inner text's positions 2 to one before its end.
    const std::string_view inner = text_.substr(0, innerEnd - 1);  // commas up to one before the end
    for (std::size_t at = inner.find(',', innerBegin + 1); at != std::string_view::npos;
         at = inner.find(',', at + 1)) {
        Step();
        TextRange left{innerBegin, at};
        TextRange right{at + 1, innerEnd};
        if (writes != nullptr) *writes = SplitTexts{left, right};
        TextRange leftStripped;
        TextRange rightStripped;
        if (!WellFormed(left, leftStripped)) continue;
        if (writes != nullptr) writes->left = leftStripped;
        if (!WellFormed(right, rightStripped)) continue;
        if (writes != nullptr) writes->right = rightStripped;
        if (result != nullptr) {
            result->opCode = OpCode::Function2;
            result->left = leftStripped;
            result->right = rightStripped;
            result->binary = function;
        }
        return true;
    }
    return false;
}

bool FormulaGrammar::Classify(TextRange range, Classification& result, SplitTexts& writes)
{
    result = Classification{};
    if (double* slot = Variable(range); slot != nullptr) {
        result.opCode = OpCode::PassThrough;
        result.slot = slot;
        return true;
    }
    if (Number(range, result.number)) {
        result.opCode = OpCode::Number;
        return true;
    }
    for (unsigned rule = 0; rule < kRuleCount; ++rule)
        if (Apply(static_cast<Rule>(rule), range, &writes, &result)) return true;
    return false;
}

} // namespace movra
