// The parser component: variables and their slots, an empty expression, and
// the error handler.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "parser/parser.h"

namespace movra {
namespace {

TEST(ParserComponent, FreshOrEmptyParserYieldsZero)
{
    TParser parser;
    EXPECT_EQ(parser.Value(), 0.0);
    parser.setExpression("X+1");
    parser.setExpression("");
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Value(), 0.0);
    EXPECT_TRUE(parser.OpCodes().empty());
}

TEST(ParserComponent, SlotsKeepTheirAddressWhateverTheCaseAndHowManyVariablesFollow)
{
    TParser parser;
    double* m1 = parser.SetVariable("m1", 1E-30);
    EXPECT_EQ(parser.SetVariable("M1", 2.5), m1);
    EXPECT_EQ(*m1, 2.5);
    EXPECT_EQ(parser.FindVariable("m1"), m1);
    EXPECT_EQ(parser.FindVariable("m2"), nullptr);
    for (int i = 0; i < 1000; ++i) parser.SetVariable("v" + std::to_string(i), i);
    EXPECT_EQ(parser.SetVariable("m1", 3), m1);
    parser.setExpression("M1*V999");
    EXPECT_EQ(parser.Value(), 2997.0);
    *m1 = 10;  // a slot write takes effect without recompiling
    EXPECT_EQ(parser.Value(), 9990.0);
    EXPECT_EQ(parser.SetVariable("x", 5), &parser.X());
    EXPECT_EQ(parser.X(), 5.0);
    EXPECT_EQ(parser.SetVariable("t", 1), &parser.T());
    EXPECT_EQ(parser.SetVariable("A", 1), &parser.A());
}

TEST(ParserComponent, BadNamesAreRefusedWithTheUpperCaseName)
{
    TParser parser;
    const std::pair<const char*, const char*> cases[] = {
        {"2a", "2A"}, {"a-b", "A-B"}, {"%", "%"}, {"", ""}, {"_k2", "accepted"}, {"z", "accepted"}};
    for (const auto& [name, result] : cases) {
        std::string message = "accepted";
        try {
            parser.SetVariable(name, 1);
        } catch (const EMathParserError& error) {
            EXPECT_EQ(typeid(error), typeid(EBadName)) << name;
            message = error.what();
        }
        EXPECT_EQ(message, result) << name;
    }
    EXPECT_EQ(parser.FindVariable("2A"), nullptr);
}

TEST(ParserComponent, ErrorHandlerReceivesTheCompileErrorInsteadOfTheCaller)
{
    TParser parser;
    int calls = 0;
    std::string message;
    TParser* sender = nullptr;
    parser.setOnParserError([&](TParser& from, const EMathParserError& error) {
        ++calls;
        sender = &from;
        message = error.what();
    });
    EXPECT_NO_THROW(parser.setExpression("M9*X"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &parser);
    EXPECT_EQ(message, "Error parsing expression:\rM9\rX");
    EXPECT_EQ(parser.Expression(), "M9*X");
    EXPECT_FALSE(parser.HasProgram());
    EXPECT_EQ(parser.Value(), 0.0);
}

} // namespace
} // namespace movra
