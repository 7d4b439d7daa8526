#pragma once
// What the program remembers between sessions besides the window position
// (app/form_position.h), in the same per-user store under key "MOVRA": the
// folder of the last file opened or saved, the ten files opened last, and
// the fit controls (formula, start values and their "fixed" ticks, limits,
// tolerance, iteration cap). Values that are missing or unusable read as
// nothing remembered; a store that cannot be written is not reported.

#include <QString>
#include <QStringList>

#include <array>
#include <filesystem>
#include <optional>

#include "app/user_dialogs.h"

namespace movra {

inline constexpr int kRecentFileCount = 10;

// The folder the next file dialog starts in; empty when none is known.
std::filesystem::path LastFolder();
// Remembers the folder of `file`.
void RememberFolderOf(const std::filesystem::path& file);

// The file dialogs of the commands: they start in LastFolder, and the folder
// of a chosen file is remembered.
std::optional<std::filesystem::path> AskOpenFile(UserDialogs& dialogs, FileDialogRequest request);
std::optional<std::filesystem::path> AskSaveFile(UserDialogs& dialogs, FileDialogRequest request);

// Most recent first, at most kRecentFileCount.
QStringList RecentFiles();
// Puts `file` on top of the list (once) and returns the new list.
QStringList AddRecentFile(const std::filesystem::path& file);

// The texts of the fit controls and the limits (m1..m8 at 0..7).
struct FitSession {
    QString formula;
    std::array<QString, 8> startValues;
    QString tolerance;
    QString maxIterations;
    std::array<bool, 8> fixed{};  // the "fixed" ticks; none when none were saved
    // The limits an import used to set when none were saved.
    std::array<double, 8> lowerLimits{-1e20, -1e20, -1e20, -1e20, -1e20, -1e20, -1e20, -1e20};
    std::array<double, 8> upperLimits{1e20, 1e20, 1e20, 1e20, 1e20, 1e20, 1e20, 1e20};
};

// nullopt when no complete set of fit texts was saved; limits that were not
// saved, or not as eight finite numbers, are the defaults above.
std::optional<FitSession> LoadFitSession();
void SaveFitSession(const FitSession& session);

} // namespace movra
