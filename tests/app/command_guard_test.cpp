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
    const auto outcome = RunCommand(dialogs, [&] {
        ++steps;
        StrToInt("x1");
        ++steps;
    });
    EXPECT_EQ(outcome, CommandOutcome::Failed);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "'x1' is not a valid integer value");
}

TEST(CommandGuardTest, CompletedCommandShowsNothing)
{
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(RunCommand(dialogs, [] {}), CommandOutcome::Completed);
    EXPECT_TRUE(dialogs.errors.empty());
}

} // namespace
} // namespace movra
