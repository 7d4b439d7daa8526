#include "app/qt_user_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/file_filter.h"

namespace movra {

namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

std::optional<std::filesystem::path> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                                   QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, ToQt(request.title));
    dialog.setAcceptMode(mode);
    if (!request.directory.empty())
        dialog.setDirectory(QString::fromStdString(request.directory.string()));
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& entry : QtFilterEntries(request.filter))
        filters << ToQt(entry);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 1 && request.selectedFilter <= filters.size())
        dialog.selectNameFilter(filters[request.selectedFilter - 1]);
    // "*.PLO" and ".PLO" both mean the suffix PLO.
    QString suffix = ToQt(request.defaultExt);
    while (suffix.startsWith('*') || suffix.startsWith('.'))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

} // namespace

void QtUserDialogs::ShowError(const std::string& text)
{
    QMessageBox::critical(parent_, QStringLiteral("Error"), ToQt(text), QMessageBox::Ok);
}

DialogAnswer QtUserDialogs::AskYesNoCancel(const std::string& text)
{
    const auto answer = QMessageBox::question(parent_, QStringLiteral("Confirm"), ToQt(text),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return DialogAnswer::Yes;
    if (answer == QMessageBox::No)
        return DialogAnswer::No;
    return DialogAnswer::Cancel;
}

std::optional<std::string> QtUserDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                                   const std::string& defaultText)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent_, ToQt(caption), ToQt(prompt), QLineEdit::Normal,
                                               ToQt(defaultText), &accepted);
    if (!accepted)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::filesystem::path> QtUserDialogs::OpenFile(const FileDialogRequest& request)
{
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<std::filesystem::path> QtUserDialogs::SaveFile(const FileDialogRequest& request)
{
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

} // namespace movra
