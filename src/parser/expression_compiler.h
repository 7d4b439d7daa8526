#pragma once
// Turns a formula text into a CompiledProgram: prepares the text (upper case,
// trimmed, no inner blanks, bracket counts equal, enclosing brackets
// stripped), builds the working tree depth first without recursion, lays the
// operations out by nesting level (levels 0 to 20, at most 50 per level) and
// links them deepest level first. Every failure is an EMathParserError.

#include <string_view>

#include "parser/builtin_functions.h"
#include "parser/compiled_program.h"
#include "parser/formula_grammar.h"

namespace movra {

inline constexpr int kMaxNestingLevel = 20;
inline constexpr int kMaxOperationsPerLevel = 50;

CompiledProgram CompileExpression(std::string_view text, const VariableLookup& variables,
                                  const FunctionTable& functions, bool pascalNumberFormat);

} // namespace movra
