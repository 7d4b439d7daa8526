#pragma once
// UserDialogs for tests: answers come from queues filled by the test, and
// every request is recorded so the test can check titles, texts and order.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/user_dialogs.h"

namespace movra::test {

class ScriptedDialogs final : public UserDialogs {
public:
    // Answers, consumed front first; an empty queue answers Cancel / nullopt.
    std::deque<DialogAnswer> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::filesystem::path>> files;

    // What was asked.
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    struct Input {
        std::string caption, prompt, defaultText;
    };
    std::vector<Input> inputRequests;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

    void ShowError(const std::string& text) override { errors.push_back(text); }

    DialogAnswer AskYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty())
            return DialogAnswer::Cancel;
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override
    {
        inputRequests.push_back({caption, prompt, defaultText});
        return Take(inputs);
    }

    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return Take(files);
    }

    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return Take(files);
    }

private:
    template <typename T>
    static std::optional<T> Take(std::deque<std::optional<T>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace movra::test
