#include "app/program_windows.h"

namespace movra {

ProgramWindows::ProgramWindows(UserDialogs& dialogs)
    : form1_(std::make_unique<MainWindow>(dialogs)),
      fitLimits_(std::make_unique<FitLimitsDialog>(form1_.get())),
      aboutForm_(std::make_unique<AboutForm>(form1_.get())),
      form2_(std::make_unique<ImportProgressForm>(form1_.get())),
      form3_(std::make_unique<FitProgressForm>(form1_.get()))
{
    form1_->attachWindows({*fitLimits_, *aboutForm_, *form2_, *form3_});
}

ProgramWindows::~ProgramWindows()
{
    form1_->SaveSession();  // while the limits dialog still exists
    form3_.reset();
    form2_.reset();
    aboutForm_.reset();
    fitLimits_.reset();
    form1_.reset();
}

} // namespace movra
