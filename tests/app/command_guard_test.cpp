// Errors escaping a command reach the user as one error box with the message.

#include <gtest/gtest.h>

#include "app/command_guard.h"
#include "scripted_dialogs.h"
#include "shared/conversion.h"

namespace movra {
namespace {

TEST(CommandGuardTest, ConversionErrorIsShownWithItsMessageAndStopsTheCommand)
{
    test::ScriptedDialogs dialogs;
    int steps = 0;
    EXPECT_EQ(RunCommand(dialogs, [&] { ++steps; }), CommandOutcome::Completed);
    EXPECT_TRUE(dialogs.errors.empty());
    const auto outcome = RunCommand(dialogs, [&] {
        ++steps;
        StrToInt("x1");
        ++steps;
    });
    EXPECT_EQ(outcome, CommandOutcome::Failed);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"'x1' is not a valid integer value"});
}

} // namespace
} // namespace movra
