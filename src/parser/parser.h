#pragma once
// TParser: compiles a formula typed by the user once (assigning Expression)
// and evaluates it many times (Value) while the caller changes variables.
// Variables are 64-bit slots bound by name at compile time; a slot's address
// never changes while the parser lives, so callers may keep it. Evaluation
// allocates nothing and reports the first floating-point fault of a run as
// its own exception type; EvaluateMany runs a whole array of abscissae with
// results bit-identical to calling Value once per point.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "parser/batch_evaluator.h"
#include "parser/compiled_program.h"
#include "parser/derivative_evaluator.h"
#include "parser/evaluation_faults.h"
#include "parser/parser_errors.h"
#include "parser/random_source.h"

namespace movra {

class TParser {
public:
    // Called instead of throwing when a compile fails; the handler does not own the error.
    using TParserExceptionEvent = std::function<void(TParser& sender, const EMathParserError& error)>;

    TParser();
    ~TParser();
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;
    TParser(TParser&&) = delete;
    TParser& operator=(TParser&&) = delete;

    // Defines or updates a variable and returns its slot. The name is
    // upper-cased; it must be an identifier (letter or underscore, then
    // letters, digits, underscores), else EBadName with the name as message.
    double* SetVariable(std::string_view name, double value);
    // The slot of a defined variable, or nullptr.
    double* FindVariable(std::string_view name) const;

    const std::string& Expression() const noexcept { return expression_; }
    // Compiles the text (the empty text leaves no program). A failed compile
    // leaves no program and goes to OnParserError when one is set, else the
    // EMathParserError propagates.
    void setExpression(std::string_view text);
    bool HasProgram() const noexcept { return program_.has_value(); }

    // Runs the program; 0 without one. Throws EInvalidOp, EZeroDivide,
    // EOverflow (all EMathError) or EDivByZero (EIntError) for the first
    // fault of the run; all of them derive from EEvaluationFault. Faults are
    // read from the floating-point flags (invalid, divide-by-zero, overflow),
    // which evaluation clears when it finds them raised.
    double Value();
    // The same run without exceptions: the fault is reported in `fault`
    // (FaultKind::None when the run was clean) and the result is then NaN.
    double Evaluate(FaultKind& fault) noexcept;

    // Evaluates the program for every value of xs written into *xSlot (a slot
    // of this parser, usually &X()): out[i] and faults[i] belong to xs[i],
    // with exactly the result and fault Value would give for that point
    // (out[i] is NaN when faults[i] is not None). Other variables keep their
    // current values; *xSlot is restored afterwards. The three spans must
    // have equal length (std::invalid_argument otherwise).
    void EvaluateMany(double* xSlot, std::span<const double> xs, std::span<double> out,
                      std::span<FaultKind> faults);

    // EvaluateMany that also gives, for every point, the partial derivatives
    // of the result with respect to the variables in parameterSlots (slots
    // of this parser): derivatives[j][i] is ∂out[i]/∂*parameterSlots[j],
    // exact to rounding (forward mode over the compiled operations; the
    // one-sided values where a function has none are listed in
    // parser/derivative_evaluator.h) and 0 where the point faulted. Each
    // derivative row holds xs.size() values.
    void EvaluateManyWithDerivatives(double* xSlot, std::span<const double> xs, std::span<double* const> parameterSlots,
                                     std::span<double> out, std::span<FaultKind> faults,
                                     std::span<double* const> derivatives);

    // Restarts the generator RND draws from in this parser (RandomSource::
    // kDefaultSeed at construction); other parsers are not affected.
    void SeedRandom(std::uint64_t seed) { random_.Seed(seed); }

    bool PascalNumberformat() const noexcept { return pascalNumberformat_; }
    void setPascalNumberformat(bool pascal) noexcept { pascalNumberformat_ = pascal; }

    const TParserExceptionEvent& OnParserError() const noexcept { return onParserError_; }
    void setOnParserError(TParserExceptionEvent handler) { onParserError_ = std::move(handler); }

    // The built-in variables; reading and writing them has no side effect.
    double& A() noexcept { return a_; }
    double& B() noexcept { return b_; }
    double& C() noexcept { return c_; }
    double& D() noexcept { return d_; }
    double& E() noexcept { return e_; }
    double& X() noexcept { return x_; }
    double& Y() noexcept { return y_; }
    double& T() noexcept { return t_; }
    double A() const noexcept { return a_; }
    double B() const noexcept { return b_; }
    double C() const noexcept { return c_; }
    double D() const noexcept { return d_; }
    double E() const noexcept { return e_; }
    double X() const noexcept { return x_; }
    double Y() const noexcept { return y_; }
    double T() const noexcept { return t_; }

    // Op codes of the compiled records in execution order (empty without a
    // program; {0} for the pass-through program of a lone variable or number).
    std::vector<int> OpCodes() const;

private:
    double a_ = 0.0, b_ = 0.0, c_ = 0.0, d_ = 0.0, e_ = 0.0, x_ = 0.0, y_ = 0.0, t_ = 0.0;
    std::string expression_;
    bool pascalNumberformat_ = true;
    std::map<std::string, double*, std::less<>> variables_;  // upper-case name -> slot
    std::deque<double> ownedSlots_;                           // slots SetVariable created
    std::optional<CompiledProgram> program_;
    std::unique_ptr<BatchEvaluator> batch_;                   // built for the last xSlot
    std::unique_ptr<DerivativeEvaluator> derivatives_;        // built for the last slots
    RandomSource random_;
    bool usesRandom_ = false;                                 // the program calls RND
    TParserExceptionEvent onParserError_;
};

} // namespace movra
