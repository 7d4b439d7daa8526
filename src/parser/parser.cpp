#include "parser/parser.h"

#include <algorithm>
#include <stdexcept>

#include "parser/builtin_functions.h"
#include "parser/expression_compiler.h"

namespace movra {
namespace {

std::string UpperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool IsLetterOrUnderscore(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentifierChar(char c) { return IsLetterOrUnderscore(c) || (c >= '0' && c <= '9'); }

bool IsIdentifier(std::string_view name)
{
    if (name.empty() || !IsLetterOrUnderscore(name.front())) return false;
    for (const char c : name)
        if (!IsIdentifierChar(c)) return false;
    return true;
}

} // namespace

TParser::TParser()
{
    variables_.emplace("A", &a_);
    variables_.emplace("B", &b_);
    variables_.emplace("C", &c_);
    variables_.emplace("D", &d_);
    variables_.emplace("E", &e_);
    variables_.emplace("X", &x_);
    variables_.emplace("Y", &y_);
    variables_.emplace("T", &t_);
}

TParser::~TParser() = default;

double* TParser::SetVariable(std::string_view name, double value)
{
    const std::string upper = UpperCase(name);
    if (const auto known = variables_.find(upper); known != variables_.end()) {
        *known->second = value;
        return known->second;
    }
    if (!IsIdentifier(upper)) throw EBadName(upper);
    double* slot = &ownedSlots_.emplace_back(value);
    variables_.emplace(upper, slot);
    return slot;
}

double* TParser::FindVariable(std::string_view name) const
{
    const auto known = variables_.find(UpperCase(name));
    return known != variables_.end() ? known->second : nullptr;
}

void TParser::setExpression(std::string_view text)
{
    batch_.reset();
    derivatives_.reset();
    program_.reset();
    usesRandom_ = false;
    expression_ = std::string(text);
    if (expression_.empty()) return;
    const VariableLookup lookup = [this](std::string_view upperCaseName) -> double* {
        const auto known = variables_.find(upperCaseName);
        return known != variables_.end() ? known->second : nullptr;
    };
    try {
        program_.emplace(CompileExpression(expression_, lookup, FunctionTable::BuiltIn(), pascalNumberformat_));
        usesRandom_ = std::any_of(program_->Records().begin(), program_->Records().end(),
                                  [](const OperationRecord& record) { return record.unary == &parser_detail::FnRnd; });
    } catch (const EMathParserError& error) {
        program_.reset();
        if (!onParserError_) throw;
        onParserError_(*this, error);
    }
}

double TParser::Value()
{
    FaultKind fault = FaultKind::None;
    const double result = Evaluate(fault);
    ThrowFault(fault);
    return result;
}

double TParser::Evaluate(FaultKind& fault) noexcept
{
    if (!program_) {
        fault = FaultKind::None;
        return 0.0;
    }
    if (usesRandom_) {
        const ScopedRandomSource source(random_);
        return program_->Evaluate(fault);
    }
    return program_->Evaluate(fault);
}

void TParser::EvaluateMany(double* xSlot, std::span<const double> xs, std::span<double> out,
                           std::span<FaultKind> faults)
{
    if (xSlot == nullptr) throw std::invalid_argument("EvaluateMany: no variable slot");
    if (!program_) {
        if (out.size() != xs.size() || faults.size() != xs.size())
            throw std::invalid_argument("EvaluateMany: values, results and faults differ in length");
        std::fill(out.begin(), out.end(), 0.0);
        std::fill(faults.begin(), faults.end(), FaultKind::None);
        return;
    }
    if (!batch_ || batch_->VariedSlot() != xSlot) batch_ = std::make_unique<BatchEvaluator>(*program_, xSlot);
    std::optional<ScopedRandomSource> source;
    if (usesRandom_) source.emplace(random_);
    batch_->Run(*program_, xSlot, xs, out, faults);
}

void TParser::EvaluateManyWithDerivatives(double* xSlot, std::span<const double> xs,
                                          std::span<double* const> parameterSlots, std::span<double> out,
                                          std::span<FaultKind> faults, std::span<double* const> derivatives)
{
    if (xSlot == nullptr) throw std::invalid_argument("EvaluateMany: no variable slot");
    if (out.size() != xs.size() || faults.size() != xs.size())
        throw std::invalid_argument("EvaluateMany: values, results and faults differ in length");
    if (derivatives.size() != parameterSlots.size())
        throw std::invalid_argument("EvaluateManyWithDerivatives: one derivative row per parameter");
    if (!program_) {
        std::fill(out.begin(), out.end(), 0.0);
        std::fill(faults.begin(), faults.end(), FaultKind::None);
        for (double* row : derivatives) std::fill(row, row + xs.size(), 0.0);
        return;
    }
    const auto sameSlots = [&] {
        const auto& built = derivatives_->ParameterSlots();
        return built.size() == parameterSlots.size() && std::equal(built.begin(), built.end(), parameterSlots.begin());
    };
    if (!derivatives_ || derivatives_->VariedSlot() != xSlot || !sameSlots())
        derivatives_ = std::make_unique<DerivativeEvaluator>(
            *program_, xSlot, std::vector<const double*>(parameterSlots.begin(), parameterSlots.end()));
    std::optional<ScopedRandomSource> source;
    if (usesRandom_) source.emplace(random_);
    derivatives_->Run(*program_, xSlot, xs, out, faults, derivatives);
}

std::vector<int> TParser::OpCodes() const
{
    std::vector<int> codes;
    if (!program_) return codes;
    for (const OperationRecord& record : program_->Records()) codes.push_back(static_cast<int>(record.opCode));
    return codes;
}

} // namespace movra
