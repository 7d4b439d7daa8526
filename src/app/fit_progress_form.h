#pragma once
// TForm3, the fit progress window: a fixed-pitch box Memo1 with the lines
// "Iter", "F" and "Lambda" (the minimiser overwrites them) and the Cancel
// button Button1 (also Escape), which raises the cancel request of the fit
// in progress. Showing the window clears the request.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace movra {

class FitProgressForm final : public QDialog {
    Q_OBJECT
public:
    explicit FitProgressForm(QWidget* parent = nullptr);

    QPlainTextEdit& Memo1() { return *memo_; }
    QPushButton& Button1() { return *cancel_; }

    // FitCancelled: true from a Cancel click until the window is shown again.
    bool FitCancelled() const { return fitCancelled_; }
    void Button1Click() { fitCancelled_ = true; }
    // What showing does to the request, also for a window already visible.
    void ClearCancel() { fitCancelled_ = false; }

    // Escape presses Cancel; the window stays until the fit hides it.
    void reject() override { Button1Click(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* memo_;
    QPushButton* cancel_;
    bool fitCancelled_ = false;
};

} // namespace movra
