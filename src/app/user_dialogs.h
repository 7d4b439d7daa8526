#pragma once
// The one road by which the program asks or tells the user something: error
// boxes, Yes/No/Cancel questions, input boxes and file dialogs. The desktop
// program answers through Qt's standard dialogs (QtUserDialogs); tests script
// the answers. Commands never open a dialog any other way.

#include <filesystem>
#include <optional>
#include <string>

namespace movra {

enum class DialogAnswer { Yes, No, Cancel };

// A file dialog as the commands describe it: the filter is written as
// "Name|pattern|Name|pattern", selectedFilter counts its pairs from 1.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int selectedFilter = 1;
    std::string defaultExt;
    std::filesystem::path directory;  // where the dialog starts; empty: the toolkit's choice
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Modal error box: error icon, one OK button.
    virtual void ShowError(const std::string& text) = 0;
    // Modal question with the buttons Yes, No and Cancel; closing it is Cancel.
    virtual DialogAnswer AskYesNoCancel(const std::string& text) = 0;
    // Input box with caption, prompt and default text; nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& defaultText) = 0;
    // Open and save dialogs; nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& request) = 0;
};

} // namespace movra
