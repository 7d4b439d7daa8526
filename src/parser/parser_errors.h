#pragma once
// Compile errors of the formula parser: the EMathParserError family with its
// fixed messages ("\r" is a carriage return). The compiler raises them, the
// parser hands them to its error handler or lets them reach the code that
// assigned the formula.

#include <stdexcept>
#include <string>

#include "shared/message_text.h"

namespace movra {

class EMathParserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EExpressionHasBlanks : public EMathParserError {
public:
    EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}
};

class EMissMatchingBracket : public EMathParserError {
public:
    EMissMatchingBracket() : EMathParserError("Missing brackets in expression") {}
};

class ESyntaxError : public EMathParserError {
public:
    // A sub-term that no rule fits, quoted (at most about 60 characters of
    // it, control characters escaped).
    explicit ESyntaxError(const std::string& term)
        : EMathParserError("Error parsing expression:\r" + MessageExcerpt(term)) {}
    // The two parts of the last split tried for that sub-term.
    ESyntaxError(const std::string& left, const std::string& right)
        : EMathParserError("Error parsing expression:\r" + MessageExcerpt(left) + "\r" + MessageExcerpt(right)) {}
};

class ETooManyNestings : public EMathParserError {
public:
    ETooManyNestings() : EMathParserError("Expression contains too many nestings") {}
};

class EExpressionTooComplex : public EMathParserError {
public:
    EExpressionTooComplex() : EMathParserError("Expression is too complex") {}
};

class EParserInternalError : public EMathParserError {
public:
    EParserInternalError() : EMathParserError("TParser internal error") {}
};

// A variable name that is not an identifier; the message is the name itself.
class EBadName : public EMathParserError {
public:
    explicit EBadName(const std::string& upperCaseName) : EMathParserError(upperCaseName) {}
};

} // namespace movra
