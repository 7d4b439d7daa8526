#pragma once
// The program's windows, created once in their fixed order (main window,
// limits dialog, About window, import progress, fit progress) and living
// until the program ends. The secondary windows are children of the main
// window so they stay on top of it and are centred over it.

#include <memory>

#include "app/about_form.h"
#include "app/fit_limits_dialog.h"
#include "app/fit_progress_form.h"
#include "app/import_progress_form.h"
#include "app/main_window.h"

namespace movra {

class UserDialogs;

class ProgramWindows {
public:
    explicit ProgramWindows(UserDialogs& dialogs);
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;
    // The main window saves the session first; then the secondary windows
    // go, the main window last (it saves its position).
    ~ProgramWindows();

    MainWindow& Form1() { return *form1_; }
    FitLimitsDialog& FitLimits() { return *fitLimits_; }
    AboutForm& AboutBox() { return *aboutForm_; }
    ImportProgressForm& Form2() { return *form2_; }
    FitProgressForm& Form3() { return *form3_; }

private:
    std::unique_ptr<MainWindow> form1_;
    std::unique_ptr<FitLimitsDialog> fitLimits_;
    std::unique_ptr<AboutForm> aboutForm_;
    std::unique_ptr<ImportProgressForm> form2_;
    std::unique_ptr<FitProgressForm> form3_;
};

} // namespace movra
