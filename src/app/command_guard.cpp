#include "app/command_guard.h"

#include <exception>
#include <string>

#include "app/user_dialogs.h"

namespace movra {

CommandOutcome RunCommand(UserDialogs& dialogs, const std::function<void()>& command)
{
    std::string message;
    try {
        command();
        return CommandOutcome::Completed;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown error";
    }
    // Shown outside the handler so a dialog's own failure cannot nest here.
    dialogs.ShowError(message);
    return CommandOutcome::Failed;
}

} // namespace movra
