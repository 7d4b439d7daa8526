#pragma once
// UserDialogs answered by Qt's standard dialogs: QMessageBox for errors and
// questions, QInputDialog for input boxes, QFileDialog for files. Every box is
// modal to the given parent window.

#include "app/user_dialogs.h"

class QWidget;

namespace movra {

class QtUserDialogs final : public UserDialogs {
public:
    // parent: the window the boxes are modal to (may be null until it exists).
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void ShowError(const std::string& text) override;
    DialogAnswer AskYesNoCancel(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override;
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& request) override;

private:
    QWidget* parent_;  // not owned
};

} // namespace movra
