#pragma once
// TForm2, the import progress window: a resizable tool window without
// title-bar buttons, caption "Importing Spectramax Textfile", holding the
// progress bar ProgressBar1 (0..100). The import places, shows, advances and
// hides it.

#include <QWidget>

class QProgressBar;

namespace movra {

class ImportProgressForm final : public QWidget {
    Q_OBJECT
public:
    explicit ImportProgressForm(QWidget* parent = nullptr);

    QProgressBar& ProgressBar1() { return *bar_; }

private:
    QProgressBar* bar_;
};

} // namespace movra
