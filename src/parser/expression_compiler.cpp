#include "parser/expression_compiler.h"

#include <array>
#include <string>
#include <vector>

#include "parser/parser_errors.h"
#include "shared/one_based.h"

namespace movra {
namespace {

std::string PrepareText(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::size_t first = upper.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const std::size_t last = upper.find_last_not_of(' ');
    upper = upper.substr(first, last - first + 1);
    if (upper.find(' ') != std::string::npos) throw EExpressionHasBlanks();
    std::size_t opening = 0;
    std::size_t closing = 0;
    for (const char c : upper) {
        if (c == '(') ++opening;
        if (c == ')') ++closing;
    }
    if (opening != closing) throw EMissMatchingBracket();
    return upper;
}

bool HasTwoChildren(OpCode opCode)
{
    switch (opCode) {
    case OpCode::Add:
    case OpCode::Subtract:
    case OpCode::Multiply:
    case OpCode::Divide:
    case OpCode::Modulo:
    case OpCode::IntDivide:
    case OpCode::WholePower:
    case OpCode::Power:
    case OpCode::Function2: return true;
    default: return false;
    }
}

// One node of the working tree on the path from the root to the current node.
struct TermNode {
    TextRange text;
    int level = 0;     // level of the record that consumes this node's value
    int position = 1;  // 1-based position of that record within its level
    int side = 1;      // which operand of that record this node fills
    Classification kind;
    bool secondChildCreated = false;
};

class TreeBuilder {
public:
    explicit TreeBuilder(FormulaGrammar& grammar) : grammar_(grammar)
    {
        for (auto& level : table_) level.fill(-1);
        AddRecord(0, 1, RecordDraft{});  // the pass-through record of the root
        counts_[0] = 1;
    }

    CompiledProgram Build(TextRange root)
    {
        std::vector<TermNode> path;
        path.push_back(TermNode{root, 0, 1, 1, {}, false});
        VisitFirst(path);
        while (true) {
            // The node on top is finished: climb to the next second child to build.
            path.pop_back();
            while (!path.empty()) {
                TermNode& parent = path.back();
                if (HasTwoChildren(parent.kind.opCode) && !parent.secondChildCreated) break;
                path.pop_back();
            }
            if (path.empty()) break;
            TermNode& parent = path.back();
            parent.secondChildCreated = true;
            const int level = parent.level + 1;
            const int position = NextPosition(level);
            ++At(counts_, level);
            path.push_back(TermNode{parent.kind.right, level, position, 2, {}, false});
            VisitFirst(path);
        }
        return Link();
    }

private:
    // Classifies the node on top of the path and descends to its first child
    // until a leaf is reached.
    void VisitFirst(std::vector<TermNode>& path)
    {
        while (true) {
            TermNode& node = path.back();
            SplitTexts writes;
            if (!grammar_.Classify(node.text, node.kind, writes)) throw SyntaxError(node.text, writes);
            RecordDraft& consumer = ConsumerOf(node);
            OperandDraft& operand = node.side == 1 ? consumer.operand1 : consumer.operand2;
            const OpCode opCode = node.kind.opCode;
            if (opCode == OpCode::PassThrough) {
                operand.slot = node.kind.slot;
                return;
            }
            if (opCode == OpCode::Number) {
                operand.cell = NewCell(node.kind.number);
                return;
            }
            if (!HasTwoChildren(opCode) && !IsOneChildCode(opCode)) throw EParserInternalError();
            operatorSeen_ = true;
            const int level = node.level + 1;
            const int position = NextPosition(level);
            RecordDraft record;
            record.opCode = opCode;
            record.unary = node.kind.unary;
            record.binary = node.kind.binary;
            record.resultCell = NewCell(0.0);
            operand.cell = record.resultCell;
            AddRecord(level, position, record);
            if (!HasTwoChildren(opCode)) ++At(counts_, level);
            const TextRange firstChild = node.kind.left;
            path.push_back(TermNode{firstChild, level, position, 1, {}, false});
        }
    }

    static bool IsOneChildCode(OpCode opCode)
    {
        return opCode == OpCode::Negate || opCode == OpCode::Square || opCode == OpCode::Cube ||
               opCode == OpCode::FourthPower || opCode == OpCode::Function1;
    }

    int NextPosition(int level) const
    {
        if (level > kMaxNestingLevel) throw ETooManyNestings();
        const int position = At(counts_, level) + 1;
        if (position > kMaxOperationsPerLevel) throw EExpressionTooComplex();
        return position;
    }

    RecordDraft& ConsumerOf(const TermNode& node)
    {
        const int index = At(At(table_, node.level), node.position - 1);
        if (index < 0) throw EParserInternalError();
        return At(records_, index);
    }

    void AddRecord(int level, int position, const RecordDraft& record)
    {
        At(At(table_, level), position - 1) =
            static_cast<int>(records_.size());
        records_.push_back(record);
    }

    int NewCell(double value)
    {
        cells_.push_back(value);
        return static_cast<int>(cells_.size() - 1);
    }

    ESyntaxError SyntaxError(TextRange node, const SplitTexts& writes) const
    {
        if (!writes.left && !writes.right) return ESyntaxError(std::string(grammar_.Text(node)));
        const auto text = [this](const std::optional<TextRange>& part) {
            return part ? std::string(grammar_.Text(*part)) : std::string(" ");
        };
        return ESyntaxError(text(writes.left), text(writes.right));
    }

    // Deepest level first, each level in position order; the root's
    // pass-through record stays only when no operator was seen.
    CompiledProgram Link() const
    {
        std::vector<RecordDraft> ordered;
        if (!operatorSeen_) {
            ordered.push_back(records_.front());
            return CompiledProgram(ordered, cells_);
        }
        for (int level = kMaxNestingLevel; level >= 1; --level) {
            const auto& row = At(table_, level);
            for (int position = 1; position <= At(counts_, level); ++position) {
                const int index = At(row, position - 1);
                if (index < 0) throw EParserInternalError();
                ordered.push_back(At(records_, index));
            }
        }
        return CompiledProgram(ordered, cells_);
    }

    FormulaGrammar& grammar_;
    std::array<std::array<int, kMaxOperationsPerLevel>, kMaxNestingLevel + 1> table_{};
    std::array<int, kMaxNestingLevel + 1> counts_{};
    std::vector<RecordDraft> records_;
    std::vector<double> cells_;
    bool operatorSeen_ = false;
};

} // namespace

CompiledProgram CompileExpression(std::string_view text, const VariableLookup& variables,
                                  const FunctionTable& functions, bool pascalNumberFormat)
{
    const std::string prepared = PrepareText(text);
    FormulaGrammar grammar(prepared, variables, functions, pascalNumberFormat);
    TextRange root{0, prepared.size()};
    for (TextRange inner; grammar.Bracketed(root, inner);) root = inner;
    TreeBuilder builder(grammar);
    return builder.Build(root);
}

} // namespace movra
