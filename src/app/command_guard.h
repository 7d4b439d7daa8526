#pragma once
// How a command's failure reaches the user: every command the user starts runs
// through RunCommand, which shows the message of any exception that escapes it
// (conversion errors, formula errors, import refusals) in one error box. The
// command stops where it was; what it changed before the failure stays.

#include <functional>

namespace movra {

class UserDialogs;

enum class CommandOutcome { Completed, Failed };

CommandOutcome RunCommand(UserDialogs& dialogs, const std::function<void()>& command);

} // namespace movra
